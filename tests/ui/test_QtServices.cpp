// The Qt window services on the offscreen platform: the block pictures, the
// retained and the transient background, the sprites, the labels, the timers
// and the wait.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QTest>
#include <chrono>
#include <ctime>

#include "ui/BlockPictures.h"
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

// A bare window with a background canvas and the seven labels the game uses.
class Services : public ::testing::Test {
protected:
    Services() : canvas_(new Canvas(&window_)), labels_(Labels()), services(*canvas_, labels_) {}

    std::array<QLabel*, 7> Labels() {
        std::array<QLabel*, 7> labels{};
        for (auto& l : labels) l = new QLabel(QStringLiteral("x"), &window_);
        return labels;
    }

    void SetUp() override {
        window_.resize(480, 480);
        canvas_->setGeometry(0, 0, 480, 480);
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
        QCoreApplication::processEvents();
    }

    // A blue block of 20 pixels into the retained image.
    void PaintRetained(int left, int top) {
        services.SetRetainedBackground(true);
        services.PaintPicture(5, left, top, 20);
        services.SetRetainedBackground(false);
    }

    // What the background shows at a pixel, painted as the window would.
    QColor Shown(int x, int y) { return canvas_->grab(QRect(x, y, 1, 1)).toImage().pixelColor(0, 0); }
    bool Blue(int x, int y) { return Shown(x, y).blue() > 100 && Shown(x, y).red() == 0; }
    bool Black(int x, int y) { return Shown(x, y) == QColor(0, 0, 0); }

    QWidget window_;
    Canvas* canvas_;
    std::array<QLabel*, 7> labels_;
    QtServices services;
};

TEST_F(Services, TransientDrawingLastsUntilTheWindowSystemRepaintsOrRetainedPaintingCoversIt) {
    PaintRetained(40, 40);
    services.FillBlack(55, 55, 45, 45);  // corners in either order, both included
    EXPECT_TRUE(Black(45, 45) && Black(55, 55));
    EXPECT_FALSE(Black(44, 50) || Black(56, 50)) << "nothing beyond the corners";
    // The program's own repaints keep it: a sprite moving elsewhere.
    services.SetSpritePicture(1, 2);
    services.MoveSprite(1, 200, 200);
    canvas_->repaint();
    EXPECT_TRUE(Black(50, 50));

    window_.hide();  // covered and uncovered
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    EXPECT_TRUE(Blue(50, 50)) << "the retained picture comes back";
    EXPECT_TRUE(Black(39, 50) && Black(60, 50)) << "the block is 20 pixels wide";

    services.FillBlack(40, 40, 59, 59);
    QEvent activation(QEvent::ActivationChange);
    QCoreApplication::sendEvent(&window_, &activation);
    EXPECT_TRUE(Blue(50, 50)) << "activated after another window";

    // Retained painting covers the transient drawing beneath it, only there.
    services.FillBlack(0, 0, 100, 100);
    PaintRetained(80, 80);
    EXPECT_TRUE(Blue(90, 90));
    EXPECT_TRUE(Black(50, 50));

    // A retained black fill over part of a retained block keeps only the rest
    // of it, also when the window system repaints everything.
    services.SetRetainedBackground(true);
    services.FillBlack(80, 80, 89, 99);
    services.SetRetainedBackground(false);
    window_.hide();
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    EXPECT_TRUE(Black(85, 90) && Blue(95, 90));
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
}

TEST_F(Services, AnIntervalOfZeroStopsATimer) {
    int ticks = 0;
    services.OnTick(TimerId::Timer1, [&] { ++ticks; });
    services.SetTimerInterval(TimerId::Timer1, 10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 5000));
    services.SetTimerInterval(TimerId::Timer1, 0);
    EXPECT_EQ(services.Interval(TimerId::Timer1), 0);
    const int atStop = ticks;
    QTest::qWait(150);
    EXPECT_EQ(ticks, atStop) << "a Qt timer of 0 would fire continuously";
}

TEST_F(Services, WaitBlocksWithoutSpinningUntilItsTimeoutOrAHandledTick) {
    const auto start = Clock::now();
    const double cpu0 = CpuSeconds();
    int calls = 0;
    for (auto now = start; now < start + 400ms; now = Clock::now(), ++calls)
        services.WaitForEvents(std::chrono::ceil<std::chrono::milliseconds>(start + 400ms - now));
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_LT(calls, 50) << "each call blocks until something happens";
    EXPECT_LT((CpuSeconds() - cpu0) / wall, 0.10) << "over " << wall << " s";

    int ticks = 0;
    services.OnTick(TimerId::Timer2, [&] { ++ticks; });
    services.SetTimerInterval(TimerId::Timer2, 100);
    const auto ticking = Clock::now();
    for (calls = 0; ticks == 0 && Clock::now() - ticking < 5s; ++calls) services.WaitForEvents(std::nullopt);
    EXPECT_EQ(ticks, 1);
    EXPECT_LT(calls, 20);
    EXPECT_GE(Clock::now() - ticking, 90ms);
}

}  // namespace
}  // namespace tumblara
