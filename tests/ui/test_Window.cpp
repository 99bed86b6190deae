// The main window on the offscreen platform: the retained and the transient
// drawing, the menu highlight, and the dialogs realised inside the window;
// the platform setting made before the application starts.

#include "tests/support/QtTestKit.h"
#include "ui/OpenGlDrivers.h"

namespace tumblara::testing {
namespace {

bool Black(QWidget& w, QPoint p) { return w.grab(QRect(p, QSize(1, 1))).toImage().pixelColor(0, 0) == Qt::black; }
void Send(QObject* to, QEvent&& event) { QCoreApplication::sendEvent(to, &event); }

TEST(Drawing, TransientDrawingGoesOnlyWhereTheWindowSystemRepaintsOrRetainedPaintingCoversIt) {
    Canvas canvas(nullptr);  // a window of its own
    canvas.resize(480, 480);
    canvas.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
    canvas.SetRetained(true);
    canvas.PaintPicture(5, 40, 40, 20);
    canvas.PaintPicture(5, 80, 80, 20);
    canvas.FillBlack(80, 80, 89, 99);  // keeps only the block's right half
    canvas.SetRetained(false);
    canvas.FillBlack(59, 59, 40, 40);  // corners in either order, both included
    Send(&canvas, QEvent(QEvent::ActivationChange));
    Send(&canvas, QWindowStateChangeEvent(Qt::WindowNoState));
    EXPECT_TRUE(Black(canvas, {45, 50}) && Black(canvas, {55, 50})) << "activation is no repaint";
    Send(canvas.windowHandle(), QExposeEvent(QRegion(0, 0, 50, 480)));
    EXPECT_FALSE(Black(canvas, {45, 50})) << "the exposed part comes back";
    EXPECT_TRUE(Black(canvas, {55, 50})) << "the rest stays";
    EXPECT_TRUE(Black(canvas, {85, 90}) && !Black(canvas, {95, 90}) && Black(canvas, {100, 90}));
    canvas.FillBlack(90, 80, 99, 99);
    canvas.SetRetained(true);
    canvas.PaintPicture(5, 50, 40, 20);  // over the transient fill
    canvas.SetRetained(false);
    EXPECT_FALSE(Black(canvas, {55, 50})) << "retained painting covers the transient drawing beneath it";
    Send(canvas.windowHandle(), QExposeEvent(QRegion(0, 0, 480, 480)));
    EXPECT_FALSE(Black(canvas, {45, 50}) || Black(canvas, {55, 50}) || Black(canvas, {95, 90}));
}

// One menu label lit at a time until the pointer crosses the background.
// Wayland: the options window inside the main window, whose cover keeps the
// pointer and the keys from everything beneath it.
TEST(MainWindow, TheMenuHighlightAndADialogInsideTheWindowThatKeepsThePointerAndTheKeysFromTheGame) {
    frmGame form;
    form.game().state.NessunaPartita = false;  // a game played before: no game-over wait on activation
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    const auto& labels = form.elementi().Label1;
    const auto lit = [&](int i) { return labels.at(i)->palette().color(QPalette::Window) == QColor(0x80, 0, 0); };
    const auto moveTo = [&](QPoint p) { QTest::mouseMove(form.windowHandle(), p); };
    const QPoint background = QPoint(20, 25) * form.layout().Cella;
    for (QPoint p : {labels[0]->geometry().center(), labels[1]->geometry().center(), form.elementi().Label2->pos()}) moveTo(p);
    EXPECT_TRUE(lit(0) && !lit(1));
    moveTo(background);
    EXPECT_FALSE(lit(0));
    PlayATInColumnSix(form);
    form.menu().Label1_Click(4);
    {
        frmOption options(form.game().state, labels[3], &form, DialogPlacement::InsideMainWindow);
        ModalDriver driver([&](QWidget*) {
            moveTo(labels[0]->geometry().center());
            QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, background);
            QTest::keyClick(form.windowHandle(), Qt::Key_Right);
            EXPECT_TRUE(!lit(0) && form.elementi().Text4->isVisible());
            QTest::mouseClick(options.findChildren<QLabel*>()[2], Qt::LeftButton);
        });
        options.exec();
    }
    EXPECT_EQ(form.services().SpriteLeft(1), 6 * form.layout().Cella);
    QTest::keyClick(form.windowHandle(), Qt::Key_Right);
    EXPECT_EQ(form.services().SpriteLeft(1), 7 * form.layout().Cella) << "the keys are the game's again";
}

// Before the first game "Pausa" neither pauses nor waits. "Info" shows and
// hides the information text; a click on the text or on the background hides
// it, and a click on another menu label leaves it.
TEST(MainWindow, PausaWaitsForAFirstGameAndTheInformationTextHidesOnAClickOnItOrOnTheBackground) {
    frmGame form;  // never shown, so never activated: no game yet
    const Elementi& e = form.elementi();
    QTimer wake;   // ends a pause wait, should the click begin one
    QObject::connect(&wake, &QTimer::timeout, [&] { form.game().state.InGioco = true; });
    wake.start(0);
    QTest::mouseClick(e.Label1[1], Qt::LeftButton);
    EXPECT_EQ(e.Label1[1]->text(), "Pausa");
    const std::pair<QWidget*, bool> clicks[] = {  // where, and whether the text shows after it
        {e.Label1[4], true},  {e.Label1[1], true},  {e.Text4->viewport(), false}, {e.Label1[4], true},
        {e.Label1[4], false}, {e.Label1[4], true},  {e.canvas, false},
    };
    int n = 0;
    for (const auto& [where, shown] : clicks) {
        QTest::mouseClick(where, Qt::LeftButton);
        EXPECT_EQ(!e.Text4->isHidden(), shown) << "click " << ++n;
    }
}

// An activation before the first game enters the game over and waits there;
// after it, an activation neither ends nor pauses the game.
TEST(MainWindow, AnActivationEntersTheGameOverOnlyBeforeTheFirstGame) {
    for (const bool first : {true, false}) {
        frmGame form;
        GameState& state = form.game().state;
        state.NessunaPartita = first;
        PlayATInColumnSix(form);
        bool gameOver = false;
        QTimer watch;  // ends a game-over wait once it shows
        QObject::connect(&watch, &QTimer::timeout, [&] {
            gameOver = form.services().Caption(LabelId::Label3) == "Game Over";
            if (gameOver) state.InGioco = true;
        });
        watch.start(1);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        QCoreApplication::processEvents();  // the activation comes from the event loop
        EXPECT_EQ(gameOver, first);
        if (!first) {
            EXPECT_TRUE(state.InGioco) << "not paused";
        }
    }
}

// Left unset, decorations go off (Qt 6.4 loads no OpenGL driver then); a value
// the user set stays, whatever it is.
TEST(StartUp, TheWaylandDecorationSettingIsTheUsersWhenSet) {
    constexpr const char* decorations = "QT_WAYLAND_DISABLE_WINDOWDECORATION";
    qputenv(decorations, "0");
    LeaveOpenGlDriversUnloaded();
    EXPECT_EQ(qgetenv(decorations), "0");
    qunsetenv(decorations);
    LeaveOpenGlDriversUnloaded();
    EXPECT_EQ(qgetenv(decorations), "1");
    qunsetenv(decorations);
}

}  // namespace
}  // namespace tumblara::testing
