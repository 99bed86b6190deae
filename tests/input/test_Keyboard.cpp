// The key handlers: latches, repetition, bindings and the fast drop, on a game
// running against the fake window.

#include <gtest/gtest.h>

#include "input/Keyboard.h"
#include "tests/support/Board.h"

namespace tumblara::testing {
namespace {

using Cells = std::vector<std::pair<int, int>>;
using Ms = FakeWindow::Ms;

constexpr std::int16_t kA = 65;
constexpr std::int16_t kRight = 39;
constexpr std::int16_t kLeft = 37;
constexpr std::int16_t kDown = 40;
constexpr std::int16_t kSpace = 32;

class Keys : public ::testing::Test, protected GameOnFakeWindow {
protected:
    void SetUp() override {
        StartGame();
        PutPiece(7, 0, 6, 10);  // a T pointing up, columns 6..8
        fake.ClearLog();
    }
    void Press(std::int16_t code) { Form_KeyDown(game, code, 0); }
    void Release(std::int16_t code) { Form_KeyUp(game, code, 0); }
    int Column() const { return PieceCells()[0].first; }
    int FastDrops() const { return fake.CountInLog("timer1 20"); }
};

class KeysWithoutRepetition : public Keys {};

class KeysWithRepetition : public Keys {
protected:
    void SetUp() override {
        Keys::SetUp();
        Repetition(game.state, 1);
    }
};

TEST_F(KeysWithoutRepetition, HeldShiftKeyMovesOnceUntilItIsReleased) {
    for (int repeat = 0; repeat < 5; ++repeat) Press(kRight);
    EXPECT_EQ(Column(), 7);
    Release(kRight);
    Press(kRight);
    EXPECT_EQ(Column(), 8);
}

TEST_F(KeysWithoutRepetition, SecondKeyWhileOneIsHeldDoesNothingUntilAnyRelease) {
    Press(kRight);
    Press(kLeft);
    Press(kSpace);
    EXPECT_EQ(Column(), 7);
    EXPECT_EQ(game.state.RotPezzo, 0);
    // The release of a key other than the one still held frees the others too.
    Release(kA);
    Press(kLeft);
    EXPECT_EQ(Column(), 6);
}

TEST_F(KeysWithoutRepetition, UnboundKeyNeverStaysLatched) {
    Press(kA);
    EXPECT_FALSE(game.state.TastoPremuto);
    Press(kRight);
    EXPECT_EQ(Column(), 7);
}

TEST_F(KeysWithoutRepetition, RefusedShiftStillLatchesTheKey) {
    PutPiece(7, 0, 14, 10);  // columns 14..16, against the right wall
    Press(kRight);
    EXPECT_EQ(PieceCells(), (Cells{{14, 10}, {15, 10}, {16, 10}, {15, 9}}));
    Press(kLeft);
    EXPECT_EQ(Column(), 14) << "the latch from the refused move blocks the left key";
}

TEST_F(KeysWithoutRepetition, HeldRotateKeyTurnsOnceAndFourPressesComeBackToTheStart) {
    const Cells start = PieceCells();
    for (int repeat = 0; repeat < 3; ++repeat) Press(kSpace);
    EXPECT_EQ(game.state.RotPezzo, 3) << "a clockwise quarter turn goes from state 0 to 3";
    EXPECT_EQ(PieceCells(), (Cells{{6, 10}, {6, 11}, {7, 11}, {6, 12}}));
    for (int turn = 0; turn < 3; ++turn) {
        Release(kSpace);
        Press(kSpace);
    }
    EXPECT_EQ(game.state.RotPezzo, 0);
    EXPECT_EQ(PieceCells(), start);
}

TEST_F(KeysWithRepetition, HeldShiftKeyMovesOncePerRepeatedKeyDown) {
    for (int repeat = 0; repeat < 3; ++repeat) Press(kRight);
    EXPECT_EQ(Column(), 9);
    for (int repeat = 0; repeat < 2; ++repeat) Press(kLeft);
    EXPECT_EQ(Column(), 7);
    EXPECT_FALSE(game.state.TastoPremuto);
}

TEST_F(KeysWithRepetition, HeldRotateAndFastFallKeysStillActOncePerPress) {
    for (int repeat = 0; repeat < 3; ++repeat) Press(kSpace);
    EXPECT_EQ(game.state.RotPezzo, 3);
    Release(kSpace);
    for (int repeat = 0; repeat < 3; ++repeat) Press(kDown);
    EXPECT_EQ(FastDrops(), 1);
}

TEST_F(KeysWithRepetition, FastFallAndRotateShareOneLatchButShiftsIgnoreIt) {
    Press(kDown);
    Press(kSpace);
    EXPECT_EQ(game.state.RotPezzo, 0) << "no turn while the drop key is held";
    Press(kRight);
    EXPECT_EQ(Column(), 7);
    Release(kDown);
    Press(kSpace);
    EXPECT_EQ(game.state.RotPezzo, 3);
    Press(kDown);
    EXPECT_EQ(FastDrops(), 1) << "and no drop while the rotate key is held";
}

TEST_F(KeysWithRepetition, UnboundKeyClearsBothLatches) {
    Press(kDown);
    ASSERT_TRUE(game.state.CadutaPremuta);
    Press(kA);
    EXPECT_FALSE(game.state.CadutaPremuta);
    Press(kSpace);
    EXPECT_EQ(game.state.RotPezzo, 3);
}

TEST_F(Keys, ReleaseOfAnyKeyClearsBothLatchesAndTheDropKeyActsAgain) {
    Press(kDown);
    EXPECT_TRUE(game.state.TastoPremuto);
    EXPECT_TRUE(game.state.CadutaPremuta);
    Release(kA);
    EXPECT_FALSE(game.state.TastoPremuto);
    EXPECT_FALSE(game.state.CadutaPremuta);
    Press(kDown);
    EXPECT_EQ(FastDrops(), 2);
}

TEST_F(Keys, LosingTheKeyboardClearsTheLatchesSoTheFirstKeyAfterwardsWorks) {
    Press(kRight);
    Press(kDown);
    // The release happened in another window; only the deactivation arrives here.
    Form_Deactivate(game);
    EXPECT_FALSE(game.state.TastoPremuto);
    EXPECT_FALSE(game.state.CadutaPremuta);
    Press(kRight);
    EXPECT_EQ(Column(), 8);
}

TEST_F(Keys, NoKeyActsWhilePlayIsStoppedButReleasesStillClearTheLatches) {
    game.state.InGioco = false;  // paused, in the level banner or after game over
    const Cells before = PieceCells();
    for (std::int16_t code : {kRight, kLeft, kDown, kSpace, kA}) Press(code);
    EXPECT_EQ(PieceCells(), before);
    EXPECT_EQ(game.state.RotPezzo, 0);
    EXPECT_EQ(FastDrops(), 0);
    EXPECT_FALSE(game.state.TastoPremuto);

    game.state.TastoPremuto = true;
    game.state.CadutaPremuta = true;
    Release(kRight);
    EXPECT_FALSE(game.state.TastoPremuto);
    EXPECT_FALSE(game.state.CadutaPremuta);
}

TEST_F(Keys, FastDropRunsAtTwentyMillisecondsUntilLandingAndTheNextPieceFallsAtTheLevelPace) {
    PutPiece(1, 0, 5, 20);  // flat I, eleven rows above the floor
    const char picture = static_cast<char>('0' + game.state.ColorePezzo);
    Press(kDown);
    Release(kDown);  // a short tap is enough
    EXPECT_EQ(fake.Interval(TimerId::Timer1), 20);

    fake.RunFor(Ms{11 * 20});
    EXPECT_EQ(PieceCells()[0], (std::pair{5, 31}));
    EXPECT_EQ(fake.Interval(TimerId::Timer1), 20);
    fake.RunFor(Ms{20});
    EXPECT_EQ(BottomRows(game.state.Campo, 1)[0].substr(4, 4), std::string(4, picture));
    EXPECT_EQ(fake.Interval(TimerId::Timer1), game.state.Intervallo);

    const Cells entered = PieceCells();
    fake.RunFor(Ms{game.state.Intervallo - 1});
    EXPECT_EQ(PieceCells(), entered) << "the new piece does not inherit the fast pace";
    fake.RunFor(Ms{1});
    EXPECT_EQ(PieceCells()[0].second, entered[0].second + 1);
}

TEST_F(KeysWithRepetition, DropKeyHeldThroughTheLandingNeedsANewPressForTheNextPiece) {
    PutPiece(1, 0, 5, 29);
    Press(kDown);
    fake.RunFor(Ms{3 * 20});  // two steps and the landing
    ASSERT_EQ(fake.Interval(TimerId::Timer1), game.state.Intervallo);
    Press(kDown);  // the held key's repeat
    EXPECT_EQ(fake.Interval(TimerId::Timer1), game.state.Intervallo);
    Release(kDown);
    Press(kDown);
    EXPECT_EQ(fake.Interval(TimerId::Timer1), 20);
}

TEST(Bindings, SetKeyRebindsEachActionAndIgnoresOtherIds) {
    GameState s;
    SetKey(s, 0, 65);
    SetKey(s, 5, 65);
    SetKey(s, -1, 65);
    EXPECT_EQ((std::array{s.TastoDestra, s.TastoSinistra, s.TastoCaduta, s.TastoRotazione}),
              (std::array{39, 37, 40, 32}));
    SetKey(s, 1, 65);
    SetKey(s, 2, 68);
    SetKey(s, 3, 83);
    SetKey(s, 4, 87);
    EXPECT_EQ((std::array{s.TastoDestra, s.TastoSinistra, s.TastoCaduta, s.TastoRotazione}),
              (std::array{65, 68, 83, 87}));
    SetKey(s, 3, -5);
    EXPECT_EQ(s.TastoCaduta, -5) << "any value is stored";
}

TEST_F(Keys, ReboundKeyTakesOverAndWithTwoActionsOnOneKeyOnlyTheFirstActs) {
    SetKey(game.state, 2, kRight);  // shift left captured as the Right arrow
    Press(kRight);
    EXPECT_EQ(Column(), 7);
    Release(kRight);
    Press(kLeft);
    EXPECT_EQ(Column(), 7) << "the Left arrow is unbound now";
    EXPECT_FALSE(game.state.TastoPremuto) << "an unbound key clears its own latch";
    SetKey(game.state, 4, kDown);  // rotate on the drop key: the drop comes first
    Press(kDown);
    EXPECT_EQ(FastDrops(), 1);
    EXPECT_EQ(game.state.RotPezzo, 0);
}

TEST(RepetitionSetting, ZeroAsksOneAndTwoSwitchAndOtherValuesDoNothing) {
    GameState s;
    EXPECT_FALSE(Repetition(s, 0));
    EXPECT_FALSE(Repetition(s, 1)) << "switching answers false";
    EXPECT_TRUE(Repetition(s, 0));
    EXPECT_FALSE(Repetition(s, 3));
    EXPECT_FALSE(Repetition(s, -1));
    EXPECT_TRUE(s.Ripetizione);
    EXPECT_FALSE(Repetition(s, 2));
    EXPECT_FALSE(Repetition(s, 0));
    Repetition(s, 7);
    EXPECT_FALSE(s.Ripetizione);
}

}  // namespace
}  // namespace tumblara::testing
