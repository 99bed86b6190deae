// Keys of the main window reach the game through the application key filter,
// whichever child has the focus, with X11-style auto-repeat.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

#include "input/KeyFilter.h"
#include "input/Keyboard.h"
#include "input/VirtualKey.h"
#include "tests/support/Board.h"

namespace tumblara::testing {
namespace {

class KeyFilter : public ::testing::Test, protected GameOnFakeWindow {
protected:
    void SetUp() override {
        StartGame();
        PutPiece(7, 0, 6, 10);  // columns 6..8
        auto* layout = new QVBoxLayout(&window);
        edit = new QLineEdit(&window);
        button = new QPushButton("ok", &window);
        layout->addWidget(edit);
        layout->addWidget(button);
        QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
        window.show();
        button->setFocus();
    }

    static void Send(QWidget* to, QEvent::Type type, int key, bool autoRepeat = false,
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(type, key, modifiers, QString(), autoRepeat);
        QCoreApplication::sendEvent(to, &event);
    }
    static void Tap(QWidget* to, int key) {
        Send(to, QEvent::KeyPress, key);
        Send(to, QEvent::KeyRelease, key);
    }
    // A key held through `repeats` auto-repeat cycles, as X11 and Wayland send them.
    static void Hold(QWidget* to, int key, int repeats) {
        Send(to, QEvent::KeyPress, key);
        for (int i = 0; i < repeats; ++i) {
            Send(to, QEvent::KeyRelease, key, true);
            Send(to, QEvent::KeyPress, key, true);
        }
        Send(to, QEvent::KeyRelease, key);
    }
    int Column() const { return PieceCells()[0].first; }

    QWidget window;
    QLineEdit* edit = nullptr;
    QPushButton* button = nullptr;
    int clicks = 0;
    GameKeyFilter filter{game, &window, nullptr};
};

TEST_F(KeyFilter, HeldKeyWithoutRepetitionMovesOnceThroughItsAutoRepeats) {
    Send(button, QEvent::KeyPress, Qt::Key_Right);
    for (int i = 0; i < 5; ++i) {
        Send(button, QEvent::KeyRelease, Qt::Key_Right, true);
        Send(button, QEvent::KeyPress, Qt::Key_Right, true);
    }
    EXPECT_EQ(Column(), 7) << "a repeated release must not end the hold";
    EXPECT_TRUE(game.state.TastoPremuto);
    Send(button, QEvent::KeyRelease, Qt::Key_Right);
    EXPECT_FALSE(game.state.TastoPremuto);
    Tap(button, Qt::Key_Right);
    EXPECT_EQ(Column(), 8);
}

TEST_F(KeyFilter, HeldKeyWithRepetitionMovesOncePerRepeatedPress) {
    Repetition(game.state, 1);
    Hold(button, Qt::Key_Right, 4);
    EXPECT_EQ(Column(), 11);
    Hold(button, Qt::Key_Space, 3);
    EXPECT_EQ(game.state.RotPezzo, 3) << "a held rotate key still turns once";
}

TEST_F(KeyFilter, KeysReachTheGameWhicheverChildHasTheFocusAndTheChildSeesNone) {
    edit->setFocus();
    Send(edit, QEvent::KeyPress, Qt::Key_A, false);
    Send(edit, QEvent::KeyRelease, Qt::Key_A, false);
    Tap(edit, Qt::Key_Right);
    EXPECT_EQ(Column(), 7);
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, "b");
    QCoreApplication::sendEvent(edit, &typed);
    EXPECT_TRUE(edit->text().isEmpty());

    Tap(button, Qt::Key_Space);
    EXPECT_EQ(game.state.RotPezzo, 3);
    EXPECT_EQ(clicks, 0) << "Space turned the piece instead of pressing the button";

    Tap(&window, Qt::Key_Left);
    EXPECT_EQ(Column(), 6);
}

TEST_F(KeyFilter, TabCanBeBoundAndDoesNotMoveTheFocus) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window, 5000));
    button->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), button);
    SetKey(game.state, 1, 0x09);
    Tap(button, Qt::Key_Tab);
    EXPECT_EQ(Column(), 7);
    Tap(button, Qt::Key_Backtab);  // Shift+Tab
    EXPECT_EQ(Column(), 8);
    EXPECT_EQ(QApplication::focusWidget(), button);
}

TEST_F(KeyFilter, PlayingKeysWinOverShortcutsOfTheWindow) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window, 5000));
    button->setFocus();
    QShortcut shortcut(QKeySequence(Qt::Key_Space), &window);
    int fired = 0;
    QObject::connect(&shortcut, &QShortcut::activated, [&] { ++fired; });
    Tap(button, Qt::Key_Space);
    EXPECT_EQ(game.state.RotPezzo, 3);
    EXPECT_EQ(fired, 0);
}

TEST_F(KeyFilter, ShiftedKeysActAsTheKeyItself) {
    SetKey(game.state, 1, 0x31);  // the 1 key
    // Shift arrives first as a key of its own; unbound, it leaves no latch.
    Send(button, QEvent::KeyPress, Qt::Key_Shift, false, Qt::ShiftModifier);
    Send(button, QEvent::KeyPress, Qt::Key_Exclam, false, Qt::ShiftModifier);  // no keycode offscreen
    EXPECT_EQ(Column(), 7);
    Send(button, QEvent::KeyRelease, Qt::Key_Exclam, false, Qt::ShiftModifier);
    Send(button, QEvent::KeyPress, Qt::Key_Right, false, Qt::ShiftModifier);
    EXPECT_EQ(Column(), 7) << "the Right arrow is unbound now";
    Send(button, QEvent::KeyRelease, Qt::Key_Right, false, Qt::ShiftModifier);
    Send(button, QEvent::KeyRelease, Qt::Key_Shift);
}

TEST_F(KeyFilter, KeysWithoutACodeAreIgnoredRatherThanTreatedAsUnbound) {
    Repetition(game.state, 1);
    Send(button, QEvent::KeyPress, Qt::Key_Down);
    ASSERT_TRUE(game.state.CadutaPremuta);
    Send(button, QEvent::KeyPress, Qt::Key_VolumeUp);
    EXPECT_TRUE(game.state.CadutaPremuta);
    Send(button, QEvent::KeyRelease, Qt::Key_VolumeUp);
    EXPECT_FALSE(game.state.CadutaPremuta) << "every release clears the latches";
}

TEST_F(KeyFilter, NoKeyReachesTheGameWhileAModalWindowIsOpen) {
    auto dialog = std::make_unique<QDialog>(&window);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
    ASSERT_EQ(QApplication::activeModalWidget(), dialog.get());
    Tap(button, Qt::Key_Right);
    EXPECT_EQ(Column(), 6);
    dialog->hide();
    Tap(button, Qt::Key_Right);
    EXPECT_EQ(Column(), 7);
}

TEST_F(KeyFilter, KeysOfAnotherWindowAreNotTheGames) {
    QWidget other;
    QPushButton inside("x", &other);
    other.show();
    Tap(&inside, Qt::Key_Right);
    Tap(&other, Qt::Key_Right);
    EXPECT_EQ(Column(), 6);
}

TEST_F(KeyFilter, NoKeyReachesTheGameOnceTheProgramIsEnding) {
    game.Esci();
    Tap(button, Qt::Key_Right);
    EXPECT_EQ(Column(), 6);
}

TEST_F(KeyFilter, LosingActivationClearsTheLatchesSoTheFirstKeyBackActs) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window, 5000));
    Send(button, QEvent::KeyPress, Qt::Key_Right);
    ASSERT_TRUE(game.state.TastoPremuto);

    // The release goes to the other window, which has the keyboard by then.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other, 5000));
    EXPECT_FALSE(game.state.TastoPremuto);

    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window, 5000));
    Send(button, QEvent::KeyPress, Qt::Key_Right);
    EXPECT_EQ(Column(), 8);
}

TEST(VirtualKeyOfAnEvent, ReadsTheKeycodeAndTheKeypadModifier) {
    const QKeyEvent exclam(QEvent::KeyPress, Qt::Key_Exclam, Qt::ShiftModifier, 10, 0x21, 0, "!");
    EXPECT_EQ(VirtualKeyCode(exclam), std::optional<std::int16_t>(0x31));
    const QKeyEvent keypad1(QEvent::KeyPress, Qt::Key_1, Qt::KeypadModifier, 87, 0xffb1, 0, "1");
    EXPECT_EQ(VirtualKeyCode(keypad1), std::optional<std::int16_t>(0x61));
    const QKeyEvent keypadHome(QEvent::KeyPress, Qt::Key_Home, Qt::KeypadModifier, 79, 0xff95, 0);
    EXPECT_EQ(VirtualKeyCode(keypadHome), std::optional<std::int16_t>(0x24));
}

}  // namespace
}  // namespace tumblara::testing
