// Each hicolor size is drawn at its own size: the figure's bottom edge stays
// black, and its top row still shows the dark edge of each of the four top
// blocks, where a shrunken copy of the 32-pixel picture loses them.

#include <gtest/gtest.h>

#include <algorithm>

#include "packaging/icon/TFigure.h"

namespace tumblara {
namespace {

bool Nero(const QImage& img, int x, int y) { return x >= 0 && img.pixel(x, y) == 0xFF000000U; }

TEST(Icon, EveryHicolorSizeKeepsTheOutlineAndTheEdgeOfEachBlock) {
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QImage img = IconaT(size).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(img.size(), QSize(size, size));
        int top = size, bottom = -1, edges = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                if (qAlpha(img.pixel(x, y)) != 0) top = std::min(top, y), bottom = y;
        ASSERT_GE(bottom, top) << size;
        for (int x = 0; x < size; ++x) {
            edges += Nero(img, x, top) && !Nero(img, x - 1, top);
            const bool figura = qAlpha(img.pixel(x, bottom)) != 0;
            EXPECT_TRUE(!figura || Nero(img, x, bottom)) << "bottom edge at " << size << ", x " << x;
        }
        EXPECT_EQ(edges, 4) << "block edges along the top at " << size;
    }
}

}  // namespace
}  // namespace tumblara
