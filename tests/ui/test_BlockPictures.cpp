// The seven block pictures: one brightness ramp in each picture's channels.

#include <gtest/gtest.h>

#include "ui/BlockPictures.h"

namespace tumblara {
namespace {

TEST(BlockPictures, EachPictureIsTheSameRampInItsOwnChannelsOnEveryRow) {
    struct Channels {
        int picture;
        bool r, g, b;
    };
    const Channels pictures[] = {{1, true, false, false}, {2, true, true, true},  {3, true, true, false},
                                 {4, true, false, true},  {5, false, false, true}, {6, false, true, true},
                                 {7, false, true, false}};
    // Black at the left edge, up by 15 a column to 255 in column 17, then down by 17.
    const std::pair<int, int> ramp[] = {{0, 0}, {1, 15}, {16, 240}, {17, 255}, {18, 238}, {31, 17}};
    for (const Channels& c : pictures) {
        const QImage img = Image1(c.picture);
        ASSERT_EQ(img.size(), QSize(32, 32));
        for (int y : {0, 13, 31})
            for (const auto& [x, v] : ramp)
                EXPECT_EQ(img.pixel(x, y), qRgb(c.r ? v : 0, c.g ? v : 0, c.b ? v : 0))
                    << "picture " << c.picture << " at " << x << "," << y;
    }
}

TEST(BlockPictures, ScaledToTheCellInDevicePixelsAndNoneOutsideOneToSeven) {
    BlockPictures pictures;
    const QImage* one = pictures.Scaled(3, 21, 1.0);
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->size(), QSize(21, 21));
    const QImage* two = pictures.Scaled(3, 21, 2.0);
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(two->size(), QSize(42, 42));
    EXPECT_DOUBLE_EQ(two->devicePixelRatio(), 2.0);
    EXPECT_EQ(pictures.Scaled(5, 17, 1.0)->size(), QSize(17, 17)) << "a new size replaces the old one";
    EXPECT_EQ(pictures.Scaled(0, 21, 1.0), nullptr);
    EXPECT_EQ(pictures.Scaled(8, 21, 1.0), nullptr);
    EXPECT_EQ(pictures.Scaled(1, 0, 1.0), nullptr);
}

}  // namespace
}  // namespace tumblara
