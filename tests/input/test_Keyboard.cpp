// Keys steering the falling piece, from the main window's key events through
// the application key filter to the key handlers: latches, repetition,
// bindings and the fast drop, on a game running against the fake window.

#include <gtest/gtest.h>

#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>
#include <QTest>
#include <string_view>

#include "input/KeyFilter.h"
#include "input/Keyboard.h"
#include "tests/support/Board.h"

namespace tumblara::testing {
namespace {

// A game in play with a T pointing up whose block 1 stands in column `x`,
// row 10, steered through the key filter of its window.
struct Play : GameOnFakeWindow {
    explicit Play(int x = 6, bool repeat = false) {
        StartGame();
        PutPiece(7, 0, x, 10);
        Repetition(game.state, repeat ? 1 : 2);
        fake.ClearLog();
    }
    void Send(QEvent::Type type, int key, bool autoRepeat = false, QWidget* to = nullptr) {
        QKeyEvent event(type, key, held, QString(), autoRepeat);
        QCoreApplication::sendEvent(to ? to : button, &event);
    }
    void Tap(int key, QWidget* to = nullptr) {
        Send(QEvent::KeyPress, key, false, to);
        Send(QEvent::KeyRelease, key, false, to);
    }
    void Deactivate() { QEvent e(QEvent::WindowDeactivate); QCoreApplication::sendEvent(&window, &e); }
    int Column() const { return PieceCells()[0].first; }
    std::int32_t Interval() const { return fake.Interval(TimerId::Timer1); }

    Qt::KeyboardModifiers held;  // modifiers every key event carries
    QWidget window;
    QPushButton* button = new QPushButton(&window);  // a child that would take Space
    GameKeyFilter filter{game, &window, nullptr};
};

// One letter per event: R L D S A V H press Right, Left, Down, Space, A, the
// code-less VolumeUp and Shift, which then stays held; u and v release A and
// VolumeUp; + is an auto-repeat of the last key pressed (a repeated release
// and press, as X11 and Wayland send them); x takes the keyboard away; p stops
// or restarts play. `onA` names the actions bound to A instead of their own
// keys. The outcome is the column of block 1, the rotation state and the
// number of fast drops started.
struct Script { const char* why; bool repeat; int x; const char* onA; const char* events; const char* outcome; };
constexpr Script kScripts[] = {
    {"a held key acts once", false, 6, "", "R+++++", "7 0 0"},
    {"the release of any key lets it act again", false, 6, "", "RRuR", "8 0 0"},
    {"every other key waits for a release", false, 6, "", "RLSDuL", "6 0 0"},
    {"an unbound key never stays latched", false, 6, "", "AR", "7 0 0"},
    {"a key acts the same with Shift held", false, 6, "", "HR", "7 0 0"},
    {"a refused shift still latches", false, 14, "", "RL", "14 0 0"},
    {"a held turn key turns a clockwise quarter once", false, 6, "", "S++", "6 3 0"},
    {"four turns come back to the start", false, 6, "", "SuSuSuS", "6 0 0"},
    {"losing the keyboard clears the key latch", false, 6, "", "RDxR", "8 0 0"},
    {"no key acts while play is stopped", false, 6, "", "pRLDSAp", "6 0 0"},
    {"a release still counts while play is stopped", false, 6, "", "RpupR", "8 0 0"},
    {"of four actions on one key only shift right acts", false, 6, "RLDS", "A", "7 0 0"},
    {"of drop and turn on one key only the drop acts", false, 6, "DS", "A", "6 0 1"},
    {"a held shift key acts on every repeat", true, 6, "", "R++L", "8 0 0"},
    {"held turn and drop keys act once per press", true, 6, "", "S++uD++", "6 3 1"},
    {"a held drop key blocks the turn but not the shifts", true, 6, "", "DSR", "7 0 1"},
    {"a held turn key blocks the drop", true, 6, "", "SD", "6 3 0"},
    {"a release clears the drop latch", true, 6, "", "DuSuD", "6 3 2"},
    {"an unbound key clears the drop latch", true, 6, "", "DAS", "6 3 1"},
    {"a key without a code is not an unbound key", true, 6, "", "DVS", "6 0 1"},
    {"but its release clears the latches", true, 6, "", "DVvS", "6 3 1"},
    {"losing the keyboard clears the drop latch", true, 6, "", "DxD", "6 0 2"},
};

TEST(Keys, ScriptsOfKeyEventsFollowTheLatchAndFirstMatchRules) {
    constexpr std::string_view kLetters = "RLDSAVHuv";
    constexpr std::array kKeys{Qt::Key_Right, Qt::Key_Left,     Qt::Key_Down,  Qt::Key_Space, Qt::Key_A,
                               Qt::Key_VolumeUp, Qt::Key_Shift, Qt::Key_A,     Qt::Key_VolumeUp};
    for (const Script& s : kScripts) {
        Play p(s.x, s.repeat);
        for (char a : std::string_view(s.onA)) SetKey(p.game.state, static_cast<int>(kLetters.find(a)) + 1, 65);
        int last = 0;
        for (char e : std::string_view(s.events)) {
            const std::size_t i = kLetters.find(e);
            if (i != std::string_view::npos) p.Send(i < 7 ? QEvent::KeyPress : QEvent::KeyRelease, last = kKeys[i]);
            if (e == 'H') p.held = Qt::ShiftModifier;
            if (e == '+') { p.Send(QEvent::KeyRelease, last, true); p.Send(QEvent::KeyPress, last, true); }
            if (e == 'x') p.Deactivate();
            if (e == 'p') p.game.state.InGioco = !p.game.state.InGioco;
        }
        const auto outcome = std::to_string(p.Column()) + " " + std::to_string(p.game.state.RotPezzo) + " " +
                             std::to_string(p.fake.CountInLog("timer1 20"));
        EXPECT_EQ(outcome, s.outcome) << s.why;
    }
}

TEST(Keys, FastDropLastsUntilTheLandingAndAHeldDropKeyWaitsForANewPress) {
    Play p(6, true);
    p.Tap(Qt::Key_Down);  // a short tap is enough
    p.fake.RunFor(FakeWindow::Ms{21 * 20});
    EXPECT_EQ(p.Interval(), 20);
    p.fake.RunFor(FakeWindow::Ms{20});
    EXPECT_EQ(p.Interval(), p.game.state.Intervallo) << "the next piece falls at the level pace";

    p.Send(QEvent::KeyPress, Qt::Key_Down);
    p.fake.RunFor(FakeWindow::Ms{40 * 20});  // held through the next landing
    p.Send(QEvent::KeyPress, Qt::Key_Down, true);
    EXPECT_EQ(p.Interval(), p.game.state.Intervallo);
    p.Send(QEvent::KeyRelease, Qt::Key_Down);
    p.Send(QEvent::KeyPress, Qt::Key_Down);
    EXPECT_EQ(p.Interval(), 20);
}

TEST(Keys, KeysReachTheGameAheadOfTheFocusedChildAndOfShortcuts) {
    Play p;
    QShortcut shortcut(QKeySequence(Qt::Key_Space), &p.window);
    int fired = 0;
    QObject::connect(&shortcut, &QShortcut::activated, [&] { ++fired; });
    p.window.show();
    p.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&p.window, 5000));
    p.button->setFocus();
    QTest::keyPress(p.button, Qt::Key_Space);  // through the shortcut map, as the platform delivers it
    EXPECT_EQ(p.game.state.RotPezzo, 3);
    EXPECT_EQ(fired, 0);
    EXPECT_FALSE(p.button->isDown());
}

TEST(Keys, NoKeyReachesTheGameFromAnotherWindowUnderAModalWindowOrOnceTheProgramEnds) {
    Play p;
    QWidget other;
    p.Tap(Qt::Key_Right, &other);
    QDialog dialog(&p.window);
    dialog.open();
    p.Tap(Qt::Key_Right);
    dialog.hide();
    EXPECT_EQ(p.Column(), 6);
    p.Tap(Qt::Key_Right);
    EXPECT_EQ(p.Column(), 7);
    p.game.Esci();
    p.Tap(Qt::Key_Right);
    EXPECT_EQ(p.Column(), 7);
}

}  // namespace
}  // namespace tumblara::testing
