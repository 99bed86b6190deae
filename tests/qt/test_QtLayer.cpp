// What only the desktop's layer does, on the offscreen platform: the retained
// and the transient drawing, the blinking banner, Qt's key events as the
// game's keys, the dialogs as windows of their own or inside the main window,
// and the platform setting made before the application starts.

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include "input/Keyboard.h"
#include "qt/BlinkingLabel.h"
#include "qt/Canvas.h"
#include "qt/OpenGlDrivers.h"
#include "qt/QtKeys.h"
#include "qt/QtWindowSystem.h"
#include "tests/support/FakeWindowSystem.h"

namespace tumblara::testing {
namespace {

using ProgramOnQt = ProgramOn<QtWindowSystem>;

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
    EXPECT_TRUE(Black(canvas, {45, 50})) << "activation is no repaint";
    Send(canvas.windowHandle(), QExposeEvent(QRegion(0, 0, 50, 480)));
    EXPECT_FALSE(Black(canvas, {45, 50})) << "the exposed part comes back";
    EXPECT_TRUE(Black(canvas, {55, 50})) << "the rest stays";
    for (const auto& [x, black] : {std::pair(85, true), {95, false}, {100, true}})
        EXPECT_EQ(Black(canvas, {x, 90}), black) << x;
    canvas.FillBlack(90, 80, 99, 99);
    canvas.SetRetained(true);
    canvas.PaintPicture(5, 50, 40, 20);  // over the transient fill
    canvas.SetRetained(false);
    EXPECT_FALSE(Black(canvas, {55, 50})) << "retained painting covers the transient drawing beneath it";
    Send(canvas.windowHandle(), QExposeEvent(QRegion(0, 0, 480, 480)));
    for (const QPoint p : {QPoint(45, 50), QPoint(55, 50), QPoint(95, 90)}) EXPECT_FALSE(Black(canvas, p)) << p.x();
}

// The blinking banner against a plain label: blinked on, the same pixels as a
// plain label with its caption of the moment; blinked off, none.
TEST(BlinkingLabel, BlinkedOnItLooksLikeAPlainLabelWithTheCaptionOfTheMomentAndOffItIsEmpty) {
    QWidget window;  // never shown: its labels paint only when grabbed
    QLabel* labels[] = {new QLabel(&window), new QLabel(&window), new QLabel(&window)};  // banner, plain, empty
    for (QLabel* label : labels) label->resize(200, 40);
    auto* banner = new BlinkingLabel(labels[0]);  // owned by its label
    for (const char* caption : {"Level  0", "Level  1", "Game Over"}) {
        labels[0]->setText(caption);
        labels[1]->setText(caption);
        banner->SetShown(false);  // off and on again with the new caption
        banner->SetShown(true);
        EXPECT_EQ(labels[0]->grab().toImage(), labels[1]->grab().toImage()) << caption;
    }
    banner->SetShown(false);
    EXPECT_EQ(labels[0]->grab().toImage(), labels[2]->grab().toImage());
}

// Keys of the main block by their place, a dead key too; the keypad by Num
// Lock; a symbol without a keycode by the US key that carries it.
TEST(QtKeys, AKeyEventGivesTheCodeOfItsPlaceOrItsName) {
    struct Case { int qtKey; bool keypad; std::uint32_t scan; int code; };  // scan: the X keycode, evdev + 8
    const Case cases[] = {{Qt::Key_Dead_Acute, false, 21, 0xBB}, {Qt::Key_Exclam, false, 10, 0x31},
                          {Qt::Key_9, true, 81, 0x69},           {Qt::Key_Home, true, 79, 0x24},
                          {Qt::Key_Exclam, false, 0, 0x31},      {Qt::Key_Egrave, false, 0, -1}};
    for (const Case& c : cases) EXPECT_EQ(VirtualKeyCode(c.qtKey, c.keypad, c.scan).value_or(-1), c.code) << c.qtKey;
}

// Through the main window, whichever child has the focus: a key without a
// code (V) is a key too and ends the holds; the release of an auto-repeat pair does not.
TEST(QtKeys, TheMainWindowsKeysReachTheGameWithTheirAutoRepeat) {
    const std::tuple<bool, const char*, const char*> scripts[] = {{true, "DVS", "6 3"}, {false, "R+", "7 0"}};
    for (const auto& [repeat, script, outcome] : scripts) {
        ProgramOnQt p;
        p.PlayATInColumnSix();
        Repetition(p.state, repeat ? 1 : 2);
        QWidget* focus = p.sys.Widget(ElementId::Text4);
        for (const char k : std::string_view(script)) {
            const int key = k == 'D' ? Qt::Key_Down : k == 'S' ? Qt::Key_Space : Qt::Key_Right;
            if (k == '+') Send(focus, QKeyEvent(QEvent::KeyRelease, Qt::Key_Right, {}, QString(), true));
            Send(focus, QKeyEvent(QEvent::KeyPress, k == 'V' ? Qt::Key_LaunchG : key, {}, QString(), k == '+'));
        }
        EXPECT_EQ(std::to_string(p.Column()) + " " + std::to_string(p.state.RotPezzo), outcome) << script;
    }
}

// A dialog takes its own keys: none acts on it by itself (Escape does not
// close the options window). A dialog inside the main window keeps the pointer
// from what lies beneath: a click on the information text there does not take
// the key meant for the capture dialog.
class Dialogs : public ::testing::TestWithParam<DialogPlacement> {};
INSTANTIATE_TEST_SUITE_P(, Dialogs, ::testing::Values(DialogPlacement::OwnWindow, DialogPlacement::InsideMainWindow),
                         [](const auto& i) { return i.param == DialogPlacement::OwnWindow ? "OwnWindow" : "Inside"; });

TEST_P(Dialogs, TakeTheirOwnKeysAndKeepThePointerFromTheMainWindow) {
    struct Keys : WindowEvents {
        std::vector<int> down;
        void KeyDown(int keyCode, bool) override { down.push_back(keyCode); }
    } options, capture;
    ProgramOnQt p;
    p.sys.SetPlacement(GetParam());
    p.state.NessunaPartita = false;  // a game played before: no game-over wait on activation
    p.form.menu().Label1_Click(4);
    QWidget& main = *p.sys.Window(FormId::frmGame);
    main.show();
    p.sys.OpenWindow(FormId::frmOption, options);
    p.sys.OpenWindow(FormId::frmKey, capture);
    for (const FormId f : {FormId::frmOption, FormId::frmKey}) p.sys.Window(f)->show();
    QTest::keyClick(p.sys.Window(FormId::frmOption), Qt::Key_Escape);
    EXPECT_TRUE(p.sys.Window(FormId::frmOption)->isVisible()) << "Escape";
    const QPoint info = p.sys.Widget(ElementId::Text4)->geometry().center();
    QTest::mouseClick(main.windowHandle(), Qt::LeftButton, {}, info);
    QTest::keyClick(p.sys.Window(FormId::frmKey)->window()->windowHandle(), Qt::Key_A);
    EXPECT_EQ(capture.down, std::vector{0x41});
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

// One QApplication for every test, on the offscreen platform unless a display was asked for.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
