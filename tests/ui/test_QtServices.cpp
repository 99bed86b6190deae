// The Qt window services on the offscreen platform: the retained and the
// transient background, the sprites, the labels, the timers and the wait.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QTest>
#include <QTime>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <ctime>

#include "ui/Canvas.h"
#include "ui/QtServices.h"

namespace tumblara {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

double CpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// A bare window with a background canvas and the seven labels the game uses.
class Services : public ::testing::Test {
protected:
    Services() : canvas_(new Canvas(&window_)), labels_(MakeLabels(&window_)), services(*canvas_, labels_) {}

    static std::array<QLabel*, 7> MakeLabels(QWidget* parent) {
        std::array<QLabel*, 7> labels{};
        for (auto& l : labels) l = new QLabel(QStringLiteral("x"), parent);
        return labels;
    }

    void SetUp() override {
        window_.resize(480, 480);
        canvas_->setGeometry(0, 0, 480, 480);
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
        QCoreApplication::processEvents();
    }

    // What the background shows at a pixel, painted as the window would.
    QColor Shown(int x, int y) { return canvas_->grab(QRect(x, y, 1, 1)).toImage().pixelColor(0, 0); }

    // The window system asks for a repaint: covered and uncovered, or
    // activated after another window.
    void HiddenAndShownAgain() {
        window_.hide();
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    }

    QWidget window_;
    Canvas* canvas_;
    std::array<QLabel*, 7> labels_;
    QtServices services;
};

bool IsBlue(const QColor& c) { return c.blue() > 100 && c.red() == 0 && c.green() == 0; }
bool IsBlack(const QColor& c) { return c.red() == 0 && c.green() == 0 && c.blue() == 0; }

TEST_F(Services, RetainedPaintingSurvivesTheWindowSystemsRepaint) {
    services.SetRetainedBackground(true);
    services.PaintPicture(5, 40, 40, 20);
    services.SetRetainedBackground(false);
    EXPECT_TRUE(IsBlue(Shown(50, 50)));
    HiddenAndShownAgain();
    EXPECT_TRUE(IsBlue(Shown(50, 50)));
    EXPECT_TRUE(IsBlack(Shown(39, 50))) << "nothing outside the painted square";
    EXPECT_TRUE(IsBlack(Shown(60, 50))) << "the square is 20 pixels wide";
}

TEST_F(Services, DrawingWithTheRetainedImageOffIsGoneAfterTheNextRepaint) {
    services.SetRetainedBackground(true);
    services.PaintPicture(5, 40, 40, 20);
    services.SetRetainedBackground(false);
    services.FillBlack(30, 30, 70, 70);
    EXPECT_TRUE(IsBlack(Shown(50, 50))) << "the window shows the black fill";

    // The program's own repaints keep it: a sprite moving elsewhere.
    services.SetSpritePicture(1, 2);
    services.MoveSprite(1, 200, 200);
    canvas_->repaint();
    EXPECT_TRUE(IsBlack(Shown(50, 50)));

    HiddenAndShownAgain();
    EXPECT_TRUE(IsBlue(Shown(50, 50))) << "the retained picture comes back";
}

TEST_F(Services, ActivationChangeRestoresTheRetainedImage) {
    services.SetRetainedBackground(true);
    services.PaintPicture(5, 40, 40, 20);
    services.SetRetainedBackground(false);
    services.FillBlack(40, 40, 59, 59);
    QEvent activation(QEvent::ActivationChange);
    QCoreApplication::sendEvent(&window_, &activation);
    EXPECT_TRUE(IsBlue(Shown(50, 50)));
}

TEST_F(Services, RetainedPaintingCoversEarlierTransientDrawing) {
    services.SetRetainedBackground(true);
    services.PaintPicture(5, 40, 40, 20);
    services.SetRetainedBackground(false);
    services.FillBlack(0, 0, 100, 100);
    services.SetRetainedBackground(true);
    services.PaintPicture(5, 80, 80, 20);
    services.SetRetainedBackground(false);
    EXPECT_TRUE(IsBlue(Shown(90, 90))) << "painted over the transient fill";
    EXPECT_TRUE(IsBlack(Shown(50, 50))) << "the rest of the fill stays until a repaint";
}

TEST_F(Services, FillIncludesBothCorners) {
    services.SetRetainedBackground(true);
    services.PaintPicture(2, 0, 0, 40);
    services.FillBlack(30, 30, 10, 10);  // corners in either order
    services.SetRetainedBackground(false);
    EXPECT_TRUE(IsBlack(Shown(10, 10)));
    EXPECT_TRUE(IsBlack(Shown(30, 30)));
    EXPECT_FALSE(IsBlack(Shown(31, 20)));
    EXPECT_FALSE(IsBlack(Shown(20, 9)));
}

TEST_F(Services, SpritesAreDrawnAboveTheBackgroundAndKeepTheirExactPosition) {
    canvas_->SizeSprite(2, 20);
    services.SetSpritePicture(2, 7);
    services.MoveSprite(2, 100.0f, 120.0f);
    EXPECT_FLOAT_EQ(services.SpriteLeft(2), 100.0f);
    EXPECT_FLOAT_EQ(services.SpriteTop(2), 120.0f);
    services.SetRetainedBackground(true);
    services.PaintPicture(5, 100, 120, 20);
    services.SetRetainedBackground(false);
    const QColor over = Shown(110, 130);
    EXPECT_GT(over.green(), 100);
    EXPECT_EQ(over.blue(), 0) << "the green sprite hides the blue block beneath";

    services.MoveSprite(2, 0.0f, -20.0f);
    EXPECT_TRUE(IsBlue(Shown(110, 130))) << "the old place is repainted";
}

TEST_F(Services, LabelsSizedToTheirTextFollowTheCaptionAndTheMenuKeepsItsSize) {
    QLabel* banner = labels_[static_cast<std::size_t>(LabelId::Label3)];
    QLabel* menu = labels_[static_cast<std::size_t>(LabelId::Menu1)];
    menu->setFixedSize(200, 35);
    services.SetCaption(LabelId::Label3, "Go");
    const int shortWidth = banner->width();
    services.SetCaption(LabelId::Label3, "Game Over");
    EXPECT_GT(banner->width(), shortWidth);
    EXPECT_EQ(services.Caption(LabelId::Label3), "Game Over");
    services.SetCaption(LabelId::Menu1, "Continua");
    EXPECT_EQ(menu->size(), QSize(200, 35));
    EXPECT_EQ(services.Caption(LabelId::Menu1), "Continua");
}

TEST_F(Services, LabelVisibilityIsTheLabelsOwnAlsoWhileTheWindowIsHidden) {
    window_.hide();
    services.SetVisible(LabelId::Label3, true);
    EXPECT_TRUE(services.IsVisible(LabelId::Label3)) << "the blink toggles this flag, shown or not";
    services.SetVisible(LabelId::Label3, false);
    EXPECT_FALSE(services.IsVisible(LabelId::Label3));
}

TEST_F(Services, AnIntervalOfZeroStopsATimer) {
    int ticks = 0;
    services.OnTick(TimerId::Timer1, [&] { ++ticks; });
    services.SetTimerInterval(TimerId::Timer1, 10);
    EXPECT_EQ(services.Interval(TimerId::Timer1), 10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 5000));
    services.SetTimerInterval(TimerId::Timer1, 0);
    EXPECT_EQ(services.Interval(TimerId::Timer1), 0);
    const int atStop = ticks;
    QTest::qWait(150);
    EXPECT_EQ(ticks, atStop) << "a Qt timer of 0 would fire continuously";
}

TEST_F(Services, WaitWithNothingToDoBlocksUntilItsTimeoutWithoutSpinning) {
    const auto wall0 = Clock::now();
    const double cpu0 = CpuSeconds();
    const auto deadline = wall0 + 400ms;
    int calls = 0;
    for (auto now = Clock::now(); now < deadline; now = Clock::now()) {
        services.WaitForEvents(std::chrono::ceil<std::chrono::milliseconds>(deadline - now));
        ++calls;
    }
    const double wall = Seconds(Clock::now() - wall0);
    const double cpu = CpuSeconds() - cpu0;
    EXPECT_LT(calls, 50) << "each call blocks until something happens";
    EXPECT_LT(cpu / wall, 0.10) << "cpu " << cpu << " s over " << wall << " s";
    EXPECT_LT(wall, 3.0);
}

TEST_F(Services, WaitWithoutTimeoutReturnsOnceATickHasBeenHandled) {
    int ticks = 0;
    services.OnTick(TimerId::Timer2, [&] { ++ticks; });
    services.SetTimerInterval(TimerId::Timer2, 100);
    const auto start = Clock::now();
    int calls = 0;
    while (ticks == 0 && Clock::now() - start < 5s) {
        services.WaitForEvents(std::nullopt);
        ++calls;
    }
    EXPECT_EQ(ticks, 1);
    EXPECT_LT(calls, 20);
    EXPECT_GE(Clock::now() - start, 90ms);
}

TEST_F(Services, QuitStopsTheTimersEndsTheEventLoopAndNoWaitBlocksAfterIt) {
    int ticks = 0;
    services.OnTick(TimerId::Timer1, [&] { ++ticks; });
    services.SetTimerInterval(TimerId::Timer1, 20);
    services.SetTimerInterval(TimerId::Timer2, 20);
    QEventLoop loop;
    Clock::duration waited{};
    QTimer::singleShot(30, [&] {
        services.Quit();
        const auto before = Clock::now();
        services.WaitForEvents(std::nullopt);
        waited = Clock::now() - before;
    });
    QTimer::singleShot(5000, &loop, [&] { loop.exit(7); });  // never hang
    EXPECT_EQ(loop.exec(), 0);
    EXPECT_TRUE(services.Quitting());
    EXPECT_EQ(services.Interval(TimerId::Timer1), 0);
    EXPECT_EQ(services.Interval(TimerId::Timer2), 0);
    EXPECT_LT(waited, 500ms);
    services.SetTimerInterval(TimerId::Timer1, 20);
    EXPECT_EQ(services.Interval(TimerId::Timer1), 0) << "no timer starts again while ending";
    const int atQuit = ticks;
    QTest::qWait(100);
    EXPECT_EQ(ticks, atQuit);

    // Let later tests run event loops again: exit() stays in force until the
    // application's own loop has run.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

TEST_F(Services, TimeOfDayCountsSecondsSinceLocalMidnight) {
    const float t = services.TimeOfDay();
    const double expected = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    EXPECT_GE(t, 0.0f);
    EXPECT_LT(t, 86400.0f);
    // Near midnight the two readings may fall on either side of it.
    const double diff = std::abs(t - expected);
    EXPECT_TRUE(diff < 2.0 || diff > 86398.0) << t << " vs " << expected;
}

}  // namespace
}  // namespace tumblara
