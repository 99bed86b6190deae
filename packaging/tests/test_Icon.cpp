#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include "packaging/icon/TFigure.h"

namespace tumblara {
namespace {

constexpr QRgb kChiaro = 0xFFC0C0C0;
constexpr QRgb kScuro = 0xFF000000;
constexpr QRgb kFaccia = 0xFF808080;

bool Trasparente(const QImage& img, int x, int y) { return qAlpha(img.pixel(x, y)) == 0; }

TEST(IconFigure, IsThirtyTwoSquareWithTransparentCornersBesideTheStem) {
    const QImage img = IconaT();
    ASSERT_EQ(img.size(), QSize(32, 32));
    ASSERT_TRUE(img.hasAlphaChannel());
    // Below the bar, either side of the stem, the field stays see-through.
    for (int y : {8, 20, 31}) {
        for (int x : {0, 7, 24, 31}) EXPECT_TRUE(Trasparente(img, x, y)) << x << "," << y;
    }
    // The bar's own corners are painted.
    EXPECT_FALSE(Trasparente(img, 0, 0));
    EXPECT_FALSE(Trasparente(img, 31, 7));
}

TEST(IconFigure, StemIsTwoBlocksWideAndReachesTheBottom) {
    const QImage img = IconaT();
    for (int y = 8; y < 32; ++y) {
        int first = -1;
        int last = -1;
        for (int x = 0; x < 32; ++x) {
            if (!Trasparente(img, x, y)) {
                if (first < 0) first = x;
                last = x;
            }
        }
        EXPECT_EQ(first, 8) << "row " << y;
        EXPECT_EQ(last, 23) << "row " << y;
    }
    // The bar spans the whole width.
    for (int x = 0; x < 32; ++x) EXPECT_FALSE(Trasparente(img, x, 3)) << x;
}

TEST(IconFigure, EachBlockIsRaisedWithASunkenCentre) {
    const QImage img = IconaT();
    // Every block, bar and stem alike, carries the same bevel.
    for (auto [bx, by] : {std::pair{0, 0}, std::pair{3, 0}, std::pair{1, 3}, std::pair{2, 2}}) {
        const int ox = bx * 8;
        const int oy = by * 8;
        SCOPED_TRACE(testing::Message() << "block " << bx << "," << by);
        EXPECT_EQ(img.pixel(ox + 0, oy + 3), kChiaro);  // left edge lit
        EXPECT_EQ(img.pixel(ox + 3, oy + 0), kChiaro);  // top edge lit
        EXPECT_EQ(img.pixel(ox + 7, oy + 3), kScuro);   // right edge in shadow
        EXPECT_EQ(img.pixel(ox + 3, oy + 7), kScuro);   // bottom edge in shadow
        EXPECT_EQ(img.pixel(ox + 7, oy + 0), kScuro);   // the shadow wins at the far corners
        EXPECT_EQ(img.pixel(ox + 0, oy + 7), kScuro);
        EXPECT_EQ(img.pixel(ox + 1, oy + 1), kFaccia);  // face
        EXPECT_EQ(img.pixel(ox + 6, oy + 6), kFaccia);
        // The centre square is lit the other way round.
        EXPECT_EQ(img.pixel(ox + 2, oy + 3), kScuro);
        EXPECT_EQ(img.pixel(ox + 3, oy + 2), kScuro);
        EXPECT_EQ(img.pixel(ox + 5, oy + 3), kChiaro);
        EXPECT_EQ(img.pixel(ox + 3, oy + 5), kChiaro);
        EXPECT_EQ(img.pixel(ox + 3, oy + 3), kFaccia);
    }
}

TEST(IconSizes, ScaledCopiesKeepOnlyThePaletteColours) {
    // Smoothing would blend the bevels into colours of their own.
    for (int size : {16, 22, 24, 48, 64, 128, 256}) {
        const QImage img = IconaT(size);
        ASSERT_EQ(img.size(), QSize(size, size));
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const QRgb p = img.pixel(x, y);
                const bool ok = qAlpha(p) == 0 || p == kChiaro || p == kScuro || p == kFaccia;
                ASSERT_TRUE(ok) << size << ": " << x << "," << y << " = " << std::hex << p;
            }
        }
    }
}

TEST(IconSizes, SixtyFourIsEveryPixelDoubled) {
    const QImage small = IconaT();
    const QImage big = IconaT(64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) ASSERT_EQ(big.pixel(x, y), small.pixel(x / 2, y / 2)) << x << "," << y;
    }
}

}  // namespace
}  // namespace tumblara
