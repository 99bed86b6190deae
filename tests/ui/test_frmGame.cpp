// The main window at load and at its first activation.

#include <gtest/gtest.h>

#include <QLabel>
#include <QScreen>

#include "tests/ui/FirstWait.h"
#include "ui/Canvas.h"

namespace tumblara::testing {
namespace {

QRect AsRect(const PixelRect& r) { return {r.left, r.top, r.width, r.height}; }

TEST(MainWindowLoad, CoversTheScreenBorderlessInTheGamesCellsBeforeItIsShown) {
    frmGame form;
    EXPECT_EQ(form.geometry(), form.screen()->geometry());
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    const Layout& l = form.layout();
    EXPECT_EQ(form.game().state.Cella, l.Cella) << "the game measures in the same cells";
    const Elementi& e = form.elementi();
    EXPECT_EQ(e.Label2->pos(), QPoint(l.Label2.x, l.Label2.y));
    EXPECT_EQ(e.Label2->text(), "Score : 0");
    EXPECT_FLOAT_EQ(form.services().SpriteTop(1), -2.0f * l.Cella) << "sprites parked above the window";
    EXPECT_EQ(form.services().Interval(TimerId::Timer1), 300) << "gravity ticks from the start";
    EXPECT_FALSE(e.canvas->Frame().isValid()) << "the frame is placed by the activation";
}

// Run again at two device pixels per pixel: every device pixel of the line
// is green, and only those.
TEST(MainWindowActivation, PlacesTheFrameOnePixelWide) {
    frmGame form;
    ASSERT_TRUE(InsideTheFirstWait(form, [&] {
        const QRect frame = AsRect(form.layout().Shape2);
        EXPECT_EQ(form.elementi().canvas->Frame(), frame);
        const QImage shown = form.elementi().canvas->grab().toImage();
        const int ratio = static_cast<int>(shown.devicePixelRatio());
        auto at = [&](int x, int y) { return shown.pixelColor(x * ratio + ratio - 1, y * ratio); };
        EXPECT_EQ(at(frame.left(), frame.height() / 2), QColor(0, 255, 0));
        EXPECT_EQ(at(frame.right(), frame.height() - 1), QColor(0, 255, 0));
        EXPECT_EQ(at(frame.left() + 1, frame.height() / 2), QColor(0, 0, 0));
        EXPECT_EQ(shown.pixelColor((frame.left() + 1) * ratio, frame.height() / 2 * ratio), QColor(0, 0, 0));
    }));
}

}  // namespace
}  // namespace tumblara::testing
