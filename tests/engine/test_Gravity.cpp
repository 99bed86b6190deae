// Gravity: a step down per tick, a landing on the floor or on settled blocks,
// and the landing that ends the game.

#include <gtest/gtest.h>

#include "tests/support/Board.h"

namespace tumblara::testing {
namespace {

using Cells = std::vector<std::pair<int, int>>;
using Ms = FakeWindow::Ms;

class Gravity : public ::testing::Test, protected GameOnFakeWindow {
protected:
    void SetUp() override { StartGame(); }
    // Runs exactly one gravity tick at the level-0 interval.
    void OneTick() { fake.RunFor(Ms{game.state.Intervallo}); }
};

TEST(GravityBeforeTheFirstGame, TicksAndTimeChangeNothing) {
    GameOnFakeWindow g;
    const GameState before = g.game.state;
    const Cells sprites = g.PieceCells();
    g.fake.RunFor(Ms{5000});
    EXPECT_EQ(g.game.state.Campo, before.Campo);
    EXPECT_EQ(g.PieceCells(), sprites);
    EXPECT_EQ(g.fake.CountInLog("sound"), 0);
}

TEST_F(Gravity, GameStartsAtThreeHundredMillisecondsWithOnlyTheFloorInTheWell) {
    EXPECT_EQ(game.state.Intervallo, 300);
    EXPECT_EQ(fake.Interval(TimerId::Timer1), 300);
    EXPECT_EQ(WellRows(game.state.Campo), std::vector<std::string>(31, "................"));
    for (int c = 1; c <= 16; ++c) EXPECT_NE(game.state.Campo(c, 32), 0) << "floor column " << c;
}

TEST_F(Gravity, EachTickMovesThePieceDownOneRowWithTheStepSound) {
    PutPiece(2, 0, 5, 10);
    fake.ClearLog();
    OneTick();
    EXPECT_EQ(PieceCells(), (Cells{{5, 11}, {6, 11}, {5, 12}, {6, 12}}));
    OneTick();
    OneTick();
    EXPECT_EQ(PieceCells()[0], (std::pair{5, 13}));
    EXPECT_EQ(fake.CountInLog("sound Impact02.wav"), 3);
}

TEST_F(Gravity, PieceOnRowThirtyOneLandsOnTheFloorAndIsStoredInItsPicture) {
    game.state.ColorePezzo = 6;
    PutPiece(1, 0, 3, 31);  // flat I
    fake.ClearLog();
    OneTick();
    EXPECT_EQ(BottomRows(game.state.Campo, 2), (std::vector<std::string>{
        "................",
        "..6666..........",
    }));
    EXPECT_EQ(fake.CountInLog("sound Impact02.wav"), 0) << "a landing is not a step";
    EXPECT_EQ(game.state.Campo(3, 32), 1) << "the floor is untouched";
}

TEST_F(Gravity, PieceStopsOnSettledBlocksNotOnItsOwnBlocks) {
    SetBottomRows(game.state.Campo, {
        "....#...........",
        "....#...........",
    });
    game.state.ColorePezzo = 3;
    PutPiece(1, 1, 5, 20);  // upright I over column 5
    for (int i = 0; i < 10; ++i) OneTick();
    EXPECT_EQ(BottomRows(game.state.Campo, 6), (std::vector<std::string>{
        "....3...........",
        "....3...........",
        "....3...........",
        "....3...........",
        "....1...........",
        "....1...........",
    }));
}

TEST_F(Gravity, FlatIRestingOnRowFourLandsButOnRowThreeEndsTheGame) {
    SetBottomRows(game.state.Campo, std::vector<std::string>(27, "#.#.#.#.#.#.#.#."));  // rows 5..31
    game.state.Campo(5, 5) = 1;  // the pile reaches row 5 in column 5
    PutPiece(1, 0, 4, 4);
    OneTick();
    EXPECT_TRUE(game.state.InGioco) << "row 4 is still inside the well";

    for (int c = 1; c <= 16; ++c) game.state.Campo(c, 4) = c == 3 ? 0 : 1;
    PutPiece(1, 0, 4, 3);
    game.state.Punteggio = 48;
    OneTick();
    EXPECT_FALSE(game.state.InGioco);
    EXPECT_EQ(fake.Caption(LabelId::Label3), "Game Over");
    EXPECT_EQ(game.state.Punteggio, 0);
    EXPECT_EQ(game.state.Campo(4, 3), 0) << "nothing is stored above row 4";
}

TEST_F(Gravity, UprightIOverAHighPileEndsTheGameBeforeStoringAnything) {
    SetBottomRows(game.state.Campo, std::vector<std::string>(27, "......#........."));  // column 7, rows 5..31
    PutPiece(1, 1, 7, 1);        // rows 1..4
    OneTick();
    EXPECT_FALSE(game.state.InGioco);
    for (int r = 1; r <= 4; ++r) EXPECT_EQ(game.state.Campo(7, r), 0) << "row " << r;
}

TEST_F(Gravity, BlocksCheckedBeforeTheFirstTooHighOneStayStored) {
    // Z in state 0 with block 1 in row 4: blocks 1 and 2 are stored, block 3 in row 3 ends it.
    game.state.Campo(3, 6) = 1;  // under block 2
    game.state.ColorePezzo = 5;
    PutPiece(5, 0, 3, 4);  // (3,4) (3,5) (4,3) (4,4)
    OneTick();
    EXPECT_FALSE(game.state.InGioco);
    EXPECT_EQ(game.state.Campo(3, 4), 5);
    EXPECT_EQ(game.state.Campo(3, 5), 5);
    EXPECT_EQ(game.state.Campo(4, 4), 0) << "block 4 comes after the too-high block 3";
}

TEST_F(Gravity, LandingHandsOverToTheNextPieceAtTheTopAndRestoresTheInterval) {
    game.state.TipoProssimo = 2;
    game.state.RotProssimo = 0;
    PutPiece(1, 0, 1, 31);
    fake.SetTimerInterval(TimerId::Timer1, 20);  // a fast drop in progress
    fake.ScriptRnd({0.0f, 0.0f, 0.0f, RndForColumn(8)});
    fake.RunFor(Ms{20});
    EXPECT_EQ(game.state.TipoPezzo, 2);
    EXPECT_EQ(PieceCells(), (Cells{{8, 1}, {9, 1}, {8, 2}, {9, 2}}));
    EXPECT_EQ(fake.Interval(TimerId::Timer1), 300);
}

TEST_F(Gravity, TicksDuringAPauseChangeNothing) {
    PutPiece(2, 0, 5, 10);
    fake.After(Ms{0}, [this] { game.PausaContinua(); });
    fake.RunFor(Ms{3000});
    EXPECT_EQ(PieceCells()[0], (std::pair{5, 10}));
    EXPECT_EQ(fake.Caption(LabelId::Menu1), "Continua");
}

}  // namespace
}  // namespace tumblara::testing
