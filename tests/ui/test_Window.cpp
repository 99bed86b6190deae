// The main window on the offscreen platform: the retained and the transient
// drawing, the frame, the menu, and the dialogs realised inside the window.

#include "tests/input/QtTestKit.h"

namespace tumblara::testing {
namespace {

bool Black(QWidget* w, QPoint p) { return w->grab(QRect(p, QSize(1, 1))).toImage().pixelColor(0, 0) == Qt::black; }
void Send(QObject* to, QEvent&& event) { QCoreApplication::sendEvent(to, &event); }

TEST(Drawing, TransientDrawingGoesOnlyWhereTheWindowSystemRepaintsOrRetainedPaintingCoversIt) {
    Canvas window(nullptr);
    Canvas* canvas = &window;
    window.resize(480, 480);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    canvas->SetRetained(true);
    canvas->PaintPicture(5, 40, 40, 20);
    canvas->PaintPicture(5, 80, 80, 20);
    canvas->FillBlack(80, 80, 89, 99);  // keeps only the block's right half
    canvas->SetRetained(false);
    canvas->FillBlack(59, 59, 40, 40);  // corners in either order, both included
    Send(&window, QEvent(QEvent::ActivationChange));
    Send(&window, QWindowStateChangeEvent(Qt::WindowNoState));
    EXPECT_TRUE(Black(canvas, {45, 50}) && Black(canvas, {55, 50})) << "activation is no repaint";
    Send(window.windowHandle(), QExposeEvent(QRegion(0, 0, 50, 480)));
    EXPECT_FALSE(Black(canvas, {45, 50})) << "the exposed part comes back";
    EXPECT_TRUE(Black(canvas, {55, 50})) << "the rest stays";
    EXPECT_TRUE(Black(canvas, {85, 90}) && !Black(canvas, {95, 90}) && Black(canvas, {100, 90}));
    canvas->FillBlack(90, 80, 99, 99);
    canvas->SetRetained(true);
    canvas->PaintPicture(5, 50, 40, 20);  // over the transient fill
    canvas->SetRetained(false);
    EXPECT_FALSE(Black(canvas, {55, 50})) << "retained painting covers the transient drawing beneath it";
    Send(window.windowHandle(), QExposeEvent(QRegion(0, 0, 480, 480)));
    EXPECT_FALSE(Black(canvas, {45, 50}) || Black(canvas, {55, 50}) || Black(canvas, {95, 90}));
}

// Shown and active, past the activation, with a game played before.
class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        form.game().state.NessunaPartita = false;
        form.services().SetTimerInterval(TimerId::Timer1, 0);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    QLabel* Label1(int i) { return form.elementi().Label1[static_cast<std::size_t>(i)]; }
    bool Lit(int i) { return Label1(i)->palette().color(QPalette::Window) == QColor(0x80, 0, 0); }
    void MoveTo(QPoint p) { QTest::mouseMove(form.windowHandle(), p); }
    void ClickAt(QPoint p) { QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, p); }
    QPoint Cell(int column, int row) { return QPoint(column, row) * form.layout().Cella; }
    frmGame form;
};

TEST_F(MainWindow, OpeningAndClosingTheOptionsLeavesTheBlackedOutPreviewBlack) {
    QtServices& s = form.services();
    s.SetRetainedBackground(true);  // the last game's preview, blacked out on the window only
    s.PaintPicture(3, Cell(19, 16).x(), Cell(19, 16).y(), form.layout().Cella);
    s.SetRetainedBackground(false);
    s.FillBlack(Cell(19, 16).x(), Cell(19, 16).y(), Cell(20, 17).x(), Cell(20, 17).y());
    ModalDriver driver([&](QWidget* options) { QTest::mouseClick(options->findChildren<QLabel*>()[2], Qt::LeftButton); });
    form.menu().Label1_Click(3);
    EXPECT_TRUE(Black(form.elementi().canvas, Cell(19, 16) + QPoint(3, 3)));
}

// One menu label lit at a time until the pointer crosses the background.
// Wayland: the options window inside the main window, whose cover keeps the
// pointer and the keys from everything beneath it.
TEST_F(MainWindow, TheMenuHighlightAndADialogInsideTheWindowThatKeepsThePointerAndTheKeysFromTheGame) {
    for (QPoint p : {Label1(0)->geometry().center(), Label1(1)->geometry().center(), form.elementi().Label2->pos()}) MoveTo(p);
    EXPECT_TRUE(Lit(0) && !Lit(1));
    MoveTo(Cell(20, 25));
    EXPECT_FALSE(Lit(0));
    GameState& state = form.game().state;
    state.InGioco = true;
    state.TipoPezzo = 7;
    form.services().MoveSprite(1, 6.0f * state.Cella, 10.0f * state.Cella);
    form.game().Posiziona(false);
    form.menu().Label1_Click(4);
    {
        frmOption options(state, Label1(3), &form, DialogPlacement::InsideMainWindow);
        ModalDriver driver([&](QWidget*) {
            MoveTo(Label1(0)->geometry().center());
            ClickAt(Cell(20, 25));
            QTest::keyClick(form.windowHandle(), Qt::Key_Right);
            EXPECT_TRUE(!Lit(0) && form.elementi().Text4->isVisible());
            QTest::mouseClick(options.findChildren<QLabel*>()[2], Qt::LeftButton);
        });
        options.exec();
    }
    EXPECT_EQ(form.services().SpriteLeft(1), Cell(6, 10).x());
    QTest::keyClick(form.windowHandle(), Qt::Key_Right);
    EXPECT_EQ(form.services().SpriteLeft(1), Cell(7, 10).x()) << "the keys are the game's again";
    state.InGioco = false;
}

}  // namespace
}  // namespace tumblara::testing
