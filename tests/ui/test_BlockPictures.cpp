// The seven block pictures: a brightness ramp in fixed colour channels.

#include <gtest/gtest.h>

#include "ui/BlockPictures.h"

namespace tumblara {
namespace {

TEST(BlockPictures, RampRisesByFifteenToColumnSeventeenThenFallsBySeventeen) {
    EXPECT_EQ(Luminosita(0), 0);
    EXPECT_EQ(Luminosita(1), 15);
    EXPECT_EQ(Luminosita(17), 255);
    EXPECT_EQ(Luminosita(18), 238);
    EXPECT_EQ(Luminosita(31), 17);
    for (int x = 1; x <= 31; ++x) {
        const int step = Luminosita(x) - Luminosita(x - 1);
        EXPECT_EQ(step, x <= 17 ? 15 : -17) << "column " << x;
    }
}

TEST(BlockPictures, EachPictureLightsItsChannelsOnEveryRow) {
    struct Expected { int picture; bool r, g, b; };
    const Expected table[] = {{1, true, false, false}, {2, true, true, true},  {3, true, true, false},
                              {4, true, false, true},  {5, false, false, true}, {6, false, true, true},
                              {7, false, true, false}};
    for (const Expected& e : table) {
        const QImage img = Image1(e.picture);
        ASSERT_EQ(img.size(), QSize(32, 32));
        for (int y : {0, 13, 31}) {
            for (int x : {0, 5, 17, 24, 31}) {
                const QRgb px = img.pixel(x, y);
                const int v = Luminosita(x);
                EXPECT_EQ(qRed(px), e.r ? v : 0) << "picture " << e.picture << " at " << x << "," << y;
                EXPECT_EQ(qGreen(px), e.g ? v : 0) << "picture " << e.picture << " at " << x << "," << y;
                EXPECT_EQ(qBlue(px), e.b ? v : 0) << "picture " << e.picture << " at " << x << "," << y;
            }
        }
    }
}

TEST(BlockPictures, ScaledPicturesFitTheCellAtTheDevicePixelRatio) {
    BlockPictures pictures;
    const QImage* one = pictures.Scaled(3, 21, 1.0);
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->size(), QSize(21, 21));
    // The brightest column stays just right of the centre, in yellow.
    const QRgb brightest = one->pixel(11, 10);
    EXPECT_GT(qRed(brightest), 200);
    EXPECT_EQ(qRed(brightest), qGreen(brightest));
    EXPECT_EQ(qBlue(brightest), 0);
    EXPECT_LT(qRed(one->pixel(0, 10)), 40) << "dark at the left edge";

    const QImage* two = pictures.Scaled(3, 21, 2.0);
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(two->size(), QSize(42, 42)) << "device pixels";
    EXPECT_DOUBLE_EQ(two->devicePixelRatio(), 2.0);
    EXPECT_EQ(pictures.Scaled(5, 17, 1.0)->size(), QSize(17, 17)) << "a new size replaces the old one";
}

TEST(BlockPictures, IndicesOutsideOneToSevenHaveNoPicture) {
    BlockPictures pictures;
    EXPECT_EQ(pictures.Scaled(0, 21, 1.0), nullptr);
    EXPECT_EQ(pictures.Scaled(8, 21, 1.0), nullptr);
    EXPECT_EQ(pictures.Scaled(1, 0, 1.0), nullptr);
}

}  // namespace
}  // namespace tumblara
