// Twips to pixels on the 96-dpi test screen: 15 twips to the pixel.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "input/Twips.h"

namespace tumblara {
namespace {

TEST(Twips, ScreenOfNinetySixDpiHasFifteenTwipsToThePixelBothWays) {
    ASSERT_DOUBLE_EQ(QGuiApplication::primaryScreen()->logicalDotsPerInchY(), 96.0);
    const Twips t(nullptr);
    EXPECT_DOUBLE_EQ(t.PerPixelX(), 15.0);
    EXPECT_DOUBLE_EQ(t.PerPixelY(), 15.0);
    EXPECT_DOUBLE_EQ(t.FromPixelsY(148), 2220.0);
    QWidget w;
    EXPECT_DOUBLE_EQ(Twips::Of(&w).PerPixelX(), 15.0);
}

TEST(Twips, PixelsRoundToTheNearestWithHalvesToTheEvenNeighbour) {
    const Twips t(nullptr);
    EXPECT_EQ(t.ToPixelsX(3744), 250);   // 249.6
    EXPECT_EQ(t.ToPixelsY(2136), 142);   // 142.4
    EXPECT_EQ(t.ToPixelsX(337.5), 22);   // 22.5
    EXPECT_EQ(t.ToPixelsY(367.5), 24);   // 24.5
    EXPECT_EQ(t.ToPixelsX(-22.5), -2);   // -1.5
}

}  // namespace
}  // namespace tumblara
