// The main window's life: load, the first activation and its wait, the
// first game started from inside it, and the end of the program.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTextEdit>
#include <cmath>

#include "options/frmOption.h"
#include "tests/ui/FirstWait.h"
#include "ui/Canvas.h"

namespace tumblara::testing {
namespace {

QRect AsRect(const PixelRect& r) { return {r.left, r.top, r.width, r.height}; }

TEST(MainWindowLoad, CoversTheScreenAndPlacesEveryElementBeforeItIsShown) {
    frmGame form;
    const QRect screen = form.screen()->geometry();
    EXPECT_EQ(form.geometry(), screen);
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form.windowTitle(), "Pilastra");
    EXPECT_FALSE(form.windowIcon().isNull());

    const Layout& l = form.layout();
    EXPECT_EQ(l.Cella, CellaPerSchermo(screen.width(), screen.height()));
    EXPECT_EQ(form.game().state.Cella, l.Cella) << "the game measures in the same cells";
    const Elementi& e = form.elementi();
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(e.Label1[i]->geometry(), AsRect(l.Label1[i])) << "menu label " << i;
    EXPECT_EQ(e.Label3->pos(), QPoint(l.Label3.x, l.Label3.y));
    EXPECT_EQ(e.Text4->geometry(), AsRect(l.Text4));
    EXPECT_FLOAT_EQ(form.services().SpriteTop(1), -2.0f * l.Cella) << "sprites parked above the window";

    EXPECT_EQ(e.Label2->text(), "Score : 0");
    EXPECT_TRUE(e.Label3->isHidden());
    EXPECT_TRUE(e.Text4->isHidden());
    EXPECT_EQ(form.services().Interval(TimerId::Timer1), 300) << "gravity ticks from the start";
    EXPECT_EQ(form.services().Interval(TimerId::Timer2), 0);
    EXPECT_FALSE(e.canvas->Frame().isValid()) << "the frame is placed by the activation";
}

TEST(MainWindowActivation, PlacesTheFrameAndBlinksGameOverUntilAGameStarts) {
    frmGame form;
    ASSERT_TRUE(InsideTheFirstWait(form, [&] {
        const QRect frame = AsRect(form.layout().Shape2);
        EXPECT_EQ(form.elementi().canvas->Frame(), frame);
        // Read in device pixels: every device pixel of the line is green.
        const QImage shown = form.elementi().canvas->grab().toImage();
        const int ratio = static_cast<int>(shown.devicePixelRatio());
        auto at = [&](int x, int y) { return shown.pixelColor(x * ratio + ratio - 1, y * ratio); };
        EXPECT_EQ(at(frame.left(), frame.height() / 2), QColor(0, 255, 0));
        EXPECT_EQ(at(frame.right(), frame.height() - 1), QColor(0, 255, 0));
        EXPECT_EQ(at(frame.left() + 1, frame.height() / 2), QColor(0, 0, 0)) << "one pixel wide";
        EXPECT_EQ(shown.pixelColor((frame.left() + 1) * ratio, frame.height() / 2 * ratio), QColor(0, 0, 0));

        // The banner's visibility flips every 500 ms while the wait goes on.
        int flips = 0;
        bool last = form.elementi().Label3->isVisible();
        for (int i = 0; i < 26; ++i) {
            QTest::qWait(50);
            const bool now = form.elementi().Label3->isVisible();
            flips += now != last ? 1 : 0;
            last = now;
        }
        EXPECT_GE(flips, 2);
        EXPECT_LE(flips, 3);
        EXPECT_EQ(form.elementi().Label3->text(), "Game Over");
    }));
}

TEST(MainWindowActivation, NuovaPartitaInsideTheWaitStartsTheGameAndEndsTheWait) {
    frmGame form;
    ASSERT_TRUE(InsideTheFirstWait(form, [&] {
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, Centre(form.elementi().Label1[0]));
        // The click returns after the level banner, with play running.
        EXPECT_TRUE(form.game().state.InGioco);
    }));
    // Back here, every wait has unwound: the first activation has returned.
    const GameState& s = form.game().state;
    EXPECT_FALSE(s.NessunaPartita);
    EXPECT_EQ(form.elementi().Label3->text(), "Level  0");
    EXPECT_TRUE(form.elementi().Label3->isVisible());
    EXPECT_EQ(form.services().Interval(TimerId::Timer2), 0);
    EXPECT_EQ(form.services().Interval(TimerId::Timer1), 300);

    const float top = form.services().SpriteTop(1);
    EXPECT_GE(top, 0.0f) << "the first piece stands in the well";
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.services().SpriteTop(1) > top; }, 3000))
        << "gravity moves it down";

    // The arrows steer it even while the information text has the focus. In
    // an empty well at least one of the two sideways moves is free.
    form.elementi().Text4->show();
    form.elementi().Text4->setFocus();
    const float left = form.services().SpriteLeft(1);
    QTest::keyClick(form.windowHandle(), Qt::Key_Right);
    if (form.services().SpriteLeft(1) == left) QTest::keyClick(form.windowHandle(), Qt::Key_Left);
    EXPECT_EQ(std::abs(form.services().SpriteLeft(1) - left), static_cast<float>(form.layout().Cella));
}

TEST(MainWindowOptions, OpzioniOpensTheOptionsModallyWhileTheGameGoesOn) {
    frmGame form;
    ASSERT_TRUE(InsideTheFirstWait(form, [&] {
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, Centre(form.elementi().Label1[0]));
    }));
    ASSERT_TRUE(form.game().state.InGioco);

    bool sawOptions = false;
    QTimer::singleShot(100, [&] {
        auto* options = qobject_cast<frmOption*>(QApplication::activeModalWidget());
        ASSERT_NE(options, nullptr);
        sawOptions = true;
        const QLabel* opzioni = form.elementi().Label1[3];
        EXPECT_EQ(options->geometry().top(), opzioni->geometry().bottom() + 1) << "under the Opzioni label";

        const float top = form.services().SpriteTop(1);
        EXPECT_TRUE(QTest::qWaitFor([&] { return form.services().SpriteTop(1) > top; }, 3000))
            << "gravity goes on while the options are open";
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, Centre(form.elementi().Label1[2]));
        EXPECT_FALSE(form.game().Terminato()) << "the main window takes no clicks meanwhile";

        QTest::mouseClick(options->windowHandle(), Qt::LeftButton, {}, options->Label1[2]->geometry().center());
    });
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, Centre(form.elementi().Label1[3]));
    // The click returns once the options window has closed.
    EXPECT_TRUE(sawOptions);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(form.game().state.InGioco) << "the game was not paused";
}

TEST(MainWindowEnd, EsciEndsEveryWaitAndStopsTheTimers) {
    frmGame form;
    ASSERT_TRUE(InsideTheFirstWait(form, [&] {
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, Centre(form.elementi().Label1[2]));
    }));
    EXPECT_TRUE(form.game().Terminato());
    EXPECT_TRUE(form.services().Quitting());
    EXPECT_EQ(form.services().Interval(TimerId::Timer1), 0);
    EXPECT_EQ(form.services().Interval(TimerId::Timer2), 0);
    RestartEventLoops();
}

TEST(MainWindowEnd, ClosingByTheWindowSystemEndsTheProgramLikeEsci) {
    frmGame form;
    ASSERT_TRUE(InsideTheFirstWait(form, [&] { form.windowHandle()->close(); }));
    EXPECT_TRUE(form.game().Terminato());
    EXPECT_TRUE(form.services().Quitting());
    EXPECT_FALSE(form.isVisible());
    RestartEventLoops();
}

}  // namespace
}  // namespace tumblara::testing
