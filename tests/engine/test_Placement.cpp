// Where Posiziona puts a piece: a new one at the top, a turned one around block 1.

#include <gtest/gtest.h>

#include <set>

#include "engine/Shapes.h"
#include "tests/support/Board.h"

namespace tumblara::testing {
namespace {

using Cells = std::vector<std::pair<int, int>>;

class Placement : public ::testing::Test, protected GameOnFakeWindow {};

TEST_F(Placement, NewPieceOfEveryShapeAndStateIsLaidOutFromTheTable) {
    for (std::int16_t tipo = 1; tipo <= 7; ++tipo) {
        for (std::int16_t rot = 0; rot < 4; ++rot) {
            game.state.TipoPezzo = tipo;
            game.state.RotPezzo = rot;
            fake.ScriptRnd({RndForColumn(5)});
            game.Posiziona(true);
            Cells expected;
            for (const Cell& c : NuovoPezzo(tipo, rot, 5)) expected.emplace_back(c.column, c.row);
            EXPECT_EQ(PieceCells(), expected) << "type " << tipo << " state " << rot;
        }
    }
}

TEST_F(Placement, NewPieceColumnCoversOneToThirteenAndNothingElse) {
    game.state.TipoPezzo = 2;
    std::set<int> columns;
    // The edges of [0, 1) and many values between.
    fake.ScriptRnd({0.0f, 0.99999994f});
    for (int i = 0; i < 2 + 2000; ++i) {
        game.Posiziona(true);
        columns.insert(PieceCells()[0].first);
    }
    EXPECT_EQ(columns, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
}

TEST_F(Placement, FlatIDrawnAtThirteenFillsColumnsThirteenToSixteen) {
    game.state.TipoPezzo = 1;
    game.state.RotPezzo = 2;
    fake.ScriptRnd({0.999f});
    game.Posiziona(true);
    EXPECT_EQ(PieceCells(), (Cells{{13, 1}, {14, 1}, {15, 1}, {16, 1}}));
}

TEST_F(Placement, NewTStandsOneRowLowerSoItsTopBlockIsInRowOne) {
    game.state.TipoPezzo = 7;
    game.state.RotPezzo = 0;
    fake.ScriptRnd({RndForColumn(3)});
    game.Posiziona(true);
    EXPECT_EQ(PieceCells(), (Cells{{3, 2}, {4, 2}, {5, 2}, {4, 1}}));
}

TEST_F(Placement, RelayKeepsBlockOneAndIgnoresTheWell) {
    // A T with block 1 at (7,10) turned from state 0 into state 3.
    PutPiece(7, 0, 7, 10);
    SetBottomRows(game.state.Campo, std::vector<std::string>(22, "################"));
    game.state.RotPezzo = 3;
    game.Posiziona(false);
    EXPECT_EQ(PieceCells(), (Cells{{7, 10}, {7, 11}, {8, 11}, {7, 12}}));
}

TEST_F(Placement, RelayOfJIntoStateZeroAtColumnOneIsNudgedRight) {
    PutPiece(4, 1, 1, 10);
    game.state.RotPezzo = 0;
    game.Posiziona(false);
    EXPECT_EQ(PieceCells(), (Cells{{2, 10}, {2, 11}, {2, 12}, {1, 12}}));
}

TEST_F(Placement, RelayInRowOneOfAStateWithABlockAboveReachesRowZero) {
    PutPiece(6, 0, 5, 1);
    game.state.RotPezzo = 1;
    game.Posiziona(false);
    EXPECT_EQ(PieceCells(), (Cells{{5, 1}, {6, 1}, {6, 0}, {7, 0}}));
}

TEST_F(Placement, PositionsAreExactMultiplesOfCella) {
    game.state.TipoPezzo = 3;
    game.state.RotPezzo = 1;
    fake.ScriptRnd({RndForColumn(9)});
    game.Posiziona(true);
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(static_cast<int>(fake.SpriteLeft(k)) % kCella, 0);
        EXPECT_EQ(static_cast<int>(fake.SpriteTop(k)) % kCella, 0);
    }
}

}  // namespace
}  // namespace tumblara::testing
