// The main window on the offscreen platform: the retained and the transient
// drawing, the frame, the menu, and the dialogs realised inside the window.

#include <gtest/gtest.h>

#include <QExposeEvent>
#include <QLabel>
#include <QTextEdit>

#include "options/frmOption.h"
#include "tests/input/ModalDriver.h"
#include "tests/ui/FirstWait.h"
#include "ui/Canvas.h"

namespace tumblara::testing {
namespace {

QColor Shown(QWidget* w, QPoint p) { return w->grab(QRect(p, QSize(1, 1))).toImage().pixelColor(0, 0); }
bool Black(QWidget* w, QPoint p) { return Shown(w, p) == Qt::black; }
void Send(QObject* to, QEvent&& event) { QCoreApplication::sendEvent(to, &event); }

TEST(Drawing, TransientDrawingGoesOnlyWhereTheWindowSystemRepaintsOrRetainedPaintingCoversIt) {
    QWidget window;
    auto* canvas = new Canvas(&window);
    window.resize(480, 480);
    canvas->resize(480, 480);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const auto retained = [&](bool on) { canvas->SetRetained(on); };
    retained(true);
    canvas->PaintPicture(5, 40, 40, 20);
    canvas->PaintPicture(5, 80, 80, 20);
    canvas->FillBlack(80, 80, 89, 99);  // keeps only the block's right half
    retained(false);
    canvas->FillBlack(59, 59, 40, 40);  // corners in either order, both included
    Send(&window, QEvent(QEvent::ActivationChange));
    Send(&window, QWindowStateChangeEvent(Qt::WindowNoState));
    EXPECT_TRUE(Black(canvas, {45, 50}) && Black(canvas, {55, 50})) << "activation is no repaint";
    Send(window.windowHandle(), QExposeEvent(QRegion(0, 0, 50, 480)));
    EXPECT_FALSE(Black(canvas, {45, 50})) << "the exposed part comes back";
    EXPECT_TRUE(Black(canvas, {55, 50})) << "the rest stays";
    EXPECT_TRUE(Black(canvas, {85, 90}) && !Black(canvas, {95, 90}) && Black(canvas, {100, 90}));
    canvas->FillBlack(90, 80, 99, 99);
    retained(true);
    canvas->PaintPicture(5, 50, 40, 20);  // over the transient fill
    retained(false);
    Send(window.windowHandle(), QExposeEvent(QRegion(0, 0, 480, 480)));
    EXPECT_FALSE(Black(canvas, {45, 50}) || Black(canvas, {55, 50}) || Black(canvas, {95, 90}));
}

class MainWindow : public ::testing::Test {
protected:
    QLabel* Label1(int i) { return form.elementi().Label1[static_cast<std::size_t>(i)]; }
    bool Lit(int i) { return Label1(i)->palette().color(QPalette::Window) == QColor(0x80, 0, 0); }
    void MoveTo(QPoint p) { QTest::mouseMove(form.windowHandle(), p); }
    void ClickAt(QPoint p) { QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, p); }
    QPoint Cell(int column, int row) { return QPoint(column, row) * form.layout().Cella; }
    frmGame form;
};

// Run again at two device pixels per pixel: every device pixel of the line is green, and only those.
TEST_F(MainWindow, TheActivationPlacesTheFrameOnePixelWide) {
    ASSERT_TRUE(InsideTheFirstWait(form, [&] {
        const PixelRect f = form.layout().Shape2;
        const QImage shown = form.elementi().canvas->grab().toImage();
        const int r = static_cast<int>(shown.devicePixelRatio());
        const auto at = [&](int x, int y) { return shown.pixelColor(x, y * r); };
        EXPECT_EQ(at(f.left * r + r - 1, 50), QColor(0, 255, 0));
        EXPECT_EQ(at((f.left + f.width - 1) * r, f.height - 1), QColor(0, 255, 0));
        EXPECT_EQ(at((f.left + 1) * r, 50), QColor(0, 0, 0));
    }));
}

TEST_F(MainWindow, AfterAGameOverOpeningAndClosingTheOptionsLeavesThePreviewBoxBlack) {
    ASSERT_TRUE(InsideTheFirstWait(form, [&] {
        QtServices& s = form.services();
        s.SetRetainedBackground(true);  // the last game's preview, blacked out on the window only
        s.PaintPicture(3, Cell(19, 16).x(), Cell(19, 16).y(), form.layout().Cella);
        s.SetRetainedBackground(false);
        s.FillBlack(Cell(18, 15).x(), Cell(18, 15).y(), Cell(24, 21).x(), Cell(24, 21).y());
        ModalDriver driver([&](QWidget* options) { QTest::mouseClick(options->findChildren<QLabel*>()[2], Qt::LeftButton); });
        form.menu().Label1_Click(3);
        EXPECT_TRUE(Black(form.elementi().canvas, Cell(19, 16) + QPoint(3, 3)));
    }));
}

TEST_F(MainWindow, OneMenuLabelStaysLitUntilThePointerCrossesTheBackgroundAndInfoToggles) {
    ASSERT_TRUE(InsideTheFirstWait(form, [&] {
        MoveTo(Label1(0)->geometry().center());
        MoveTo(Label1(1)->geometry().center());
        MoveTo(form.elementi().Label2->geometry().center());
        EXPECT_TRUE(Lit(0) && !Lit(1));
        MoveTo(Cell(20, 25));
        EXPECT_FALSE(Lit(0));
        ClickAt(Label1(4)->geometry().center());
        EXPECT_TRUE(form.elementi().Text4->isVisible());
        ClickAt(form.elementi().Text4->geometry().center());
        EXPECT_FALSE(form.elementi().Text4->isVisible());
    }));
}

// Wayland: the options window inside the main window, whose cover keeps the
// pointer and the keys from everything beneath it.
TEST_F(MainWindow, ADialogInsideTheWindowKeepsThePointerAndTheKeysFromTheGame) {
    ASSERT_TRUE(InsideTheFirstWait(form, [&] {
        GameState& state = form.game().state;
        state.InGioco = true;
        state.TipoPezzo = 7;
        form.services().SetTimerInterval(TimerId::Timer1, 0);  // the piece stays where it is put
        form.services().MoveSprite(1, 6.0f * form.layout().Cella, 10.0f * form.layout().Cella);
        form.game().Posiziona(false);
        form.menu().Label1_Click(4);
        {
            frmOption options(state, Label1(3), &form, DialogPlacement::InsideMainWindow);
            ModalDriver driver([&](QWidget*) {
                MoveTo(Label1(0)->geometry().center());
                ClickAt(Cell(20, 25));
                QTest::keyClick(form.windowHandle(), Qt::Key_Right);
                EXPECT_FALSE(Lit(0));
                EXPECT_TRUE(form.elementi().Text4->isVisible());
                QTest::mouseClick(options.findChildren<QLabel*>()[2], Qt::LeftButton);
            });
            options.exec();
        }
        EXPECT_EQ(form.services().SpriteLeft(1), Cell(6, 10).x());
        QTest::keyClick(form.windowHandle(), Qt::Key_Right);
        EXPECT_EQ(form.services().SpriteLeft(1), Cell(7, 10).x()) << "the keys are the game's again";
        state.InGioco = false;
    }));
}

}  // namespace
}  // namespace tumblara::testing
