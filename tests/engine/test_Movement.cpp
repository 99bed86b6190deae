// Moving the falling piece sideways and turning it: the walls, the settled
// blocks, the push away from the right wall and the lift off the floor.

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/Shapes.h"
#include "tests/support/Board.h"

namespace tumblara::testing {
namespace {

using Cells = std::vector<std::pair<int, int>>;

class Movement : public ::testing::Test, protected GameOnFakeWindow {
protected:
    void SetUp() override { StartGame(); }

    // Cells of shape tipo/rot with block 1 at (x, y), as laid out by the table.
    static Cells Layout(std::int16_t tipo, std::int16_t rot, int x, int y) {
        Cells cells;
        for (const Offset& o : Forma(tipo, rot)) cells.emplace_back(x + o.dc, y + o.dr);
        return cells;
    }
    static bool Fits(const Cells& cells) {
        return std::all_of(cells.begin(), cells.end(),
                           [](auto c) { return c.first >= 1 && c.first <= 16 && c.second >= 0 && c.second <= 31; });
    }
    static int Lowest(const Cells& cells) {
        int lowest = 0;
        for (const auto& c : cells) lowest = std::max(lowest, c.second);
        return lowest;
    }
    int SettledCells() const {
        int n = 0;
        for (int r = 1; r < Well::kFloorRow; ++r)
            for (int c = 1; c <= 16; ++c) n += game.state.Campo(c, r) != 0;
        return n;
    }
    bool FloorIntact() const {
        for (int c = 1; c <= 16; ++c)
            if (game.state.Campo(c, Well::kFloorRow) == 0) return false;
        return true;
    }
};

TEST_F(Movement, SidewaysMovesStopAtBothWallsAndNowhereElse) {
    PutPiece(1, 0, 1, 10);  // flat I in columns 1..4
    EXPECT_FALSE(game.Controlla(false));
    EXPECT_TRUE(game.Controlla(true));
    game.Muovi(false);
    EXPECT_EQ(PieceCells(), Layout(1, 0, 1, 10)) << "the left wall refuses";

    // Twenty presses to the right: twelve moves, then the right wall.
    for (int i = 0; i < 20; ++i) game.Muovi(true);
    EXPECT_EQ(PieceCells(), Layout(1, 0, 13, 10));
    EXPECT_FALSE(game.Controlla(true));
    EXPECT_TRUE(game.Controlla(false));

    for (int i = 0; i < 20; ++i) game.Muovi(false);
    EXPECT_EQ(PieceCells(), Layout(1, 0, 1, 10));
}

TEST_F(Movement, OneSettledCellInTheWayRefusesTheWholeMove) {
    // T in state 0: (5,10) (6,10) (7,10) and its top block (6,9).
    PutPiece(7, 0, 5, 10);
    game.state.Campo(7, 9) = 3;  // right of the top block only
    game.state.Campo(4, 11) = 3;  // diagonally below-left: not in the way
    EXPECT_FALSE(game.Controlla(true));
    game.Muovi(true);
    EXPECT_EQ(PieceCells(), Layout(7, 0, 5, 10)) << "no block moves when one is blocked";

    EXPECT_TRUE(game.Controlla(false));
    game.Muovi(false);
    EXPECT_EQ(PieceCells(), Layout(7, 0, 4, 10)) << "all four blocks move together";

    game.state.Campo(3, 10) = 5;  // left of block 1
    game.Muovi(false);
    EXPECT_EQ(PieceCells(), Layout(7, 0, 4, 10));
    EXPECT_EQ(game.state.Campo(3, 10), 5) << "a refused move changes nothing in the well";
}

TEST_F(Movement, TurningIsClockwiseAndFourTurnsBringEveryPieceBack) {
    for (std::int16_t tipo = 1; tipo <= 7; ++tipo) {
        for (std::int16_t rot = 0; rot < 4; ++rot) {
            PutPiece(tipo, rot, 6, 10);
            const Cells start = PieceCells();
            for (int turn = 1; turn <= 4; ++turn) {
                game.Ruota();
                EXPECT_EQ(game.state.RotPezzo, (rot - turn + 8) % 4) << "type " << tipo << " from " << rot;
                EXPECT_EQ(PieceCells()[0], (std::pair{6, 10})) << "block 1 keeps its cell";
            }
            EXPECT_EQ(PieceCells(), start) << "type " << tipo << " state " << rot;
        }
    }
}

TEST_F(Movement, TurningNextToTheRightWallPushesThePieceLeftFirst) {
    PutPiece(1, 0, 13, 10);  // flat I in columns 13..16
    game.Ruota();
    EXPECT_EQ(PieceCells(), (Cells{{9, 10}, {9, 11}, {9, 12}, {9, 13}}));

    PutPiece(1, 1, 16, 10);  // upright I in column 16
    game.Ruota();
    EXPECT_EQ(PieceCells(), (Cells{{12, 10}, {13, 10}, {14, 10}, {15, 10}}));

    // An L reaching column 14: the rightmost block goes to column 12.
    PutPiece(3, 3, 12, 10);  // (12,10) (13,10) (14,10) (12,11)
    game.Ruota();
    EXPECT_EQ(PieceCells(), Layout(3, 2, 10, 10));
}

TEST_F(Movement, APieceNotBeyondColumnThirteenTurnsWhereItIs) {
    PutPiece(7, 2, 11, 10);  // T in columns 11..13
    game.Ruota();
    EXPECT_EQ(PieceCells(), (Cells{{11, 10}, {12, 9}, {12, 10}, {12, 11}}));
}

TEST_F(Movement, EveryTurnedPieceStaysBetweenTheWalls) {
    for (std::int16_t tipo = 1; tipo <= 7; ++tipo) {
        for (std::int16_t rot = 0; rot < 4; ++rot) {
            for (int x = 1; x <= 16; ++x) {
                if (!Fits(Layout(tipo, rot, x, 10))) continue;
                PutPiece(tipo, rot, x, 10);
                game.Ruota();
                for (const auto& [column, row] : PieceCells()) {
                    EXPECT_GE(column, 1) << "type " << tipo << " state " << rot << " column " << x;
                    EXPECT_LE(column, 16) << "type " << tipo << " state " << rot << " column " << x;
                }
            }
        }
    }
}

TEST_F(Movement, ATurnMayOverlapSettledBlocksAndTheLandingOverwritesThem) {
    SetBottomRows(game.state.Campo, std::vector<std::string>(12, ".....22........."));  // rows 20..31
    ShowCampo();
    game.state.ColorePezzo = 5;
    PutPiece(1, 1, 5, 20);  // upright I in column 5, rows 20..23, beside the pile
    game.Ruota();
    EXPECT_EQ(PieceCells(), (Cells{{5, 20}, {6, 20}, {7, 20}, {8, 20}})) << "a turn is never refused";

    game.Timer1_Timer();  // the pile is under columns 6 and 7: the piece lands where it is
    EXPECT_EQ(WellRows(game.state.Campo, 19)[0], "................");
    EXPECT_EQ(WellRows(game.state.Campo, 20)[0], "....5555........");
    EXPECT_EQ(fake.ShownWell()[19], "....5555........");
    EXPECT_EQ(WellRows(game.state.Campo, 21)[0], ".....22.........");
}

TEST_F(Movement, AFlatIOnTheFloorTurnedUprightIsLiftedIntoRowsTwentyEightToThirtyOne) {
    game.state.ColorePezzo = 4;
    PutPiece(1, 0, 5, 31);
    game.Ruota();
    EXPECT_EQ(PieceCells(), (Cells{{5, 28}, {5, 29}, {5, 30}, {5, 31}}));
    game.Timer1_Timer();
    EXPECT_EQ(BottomRows(game.state.Campo, 5), (std::vector<std::string>{
        "................",
        "....4...........",
        "....4...........",
        "....4...........",
        "....4...........",
    }));
    EXPECT_TRUE(FloorIntact());
}

TEST_F(Movement, EveryShapeTurnedNextToTheFloorStaysInTheWellAndLandsOnIt) {
    for (std::int16_t tipo = 1; tipo <= 7; ++tipo) {
        for (std::int16_t rot = 0; rot < 4; ++rot) {
            for (const int x : {1, 6, 12, 13, 14, 16}) {
                Cells laid = Layout(tipo, rot, x, 10);
                const int y = 10 + 31 - Lowest(laid);  // lowest block on row 31
                laid = Layout(tipo, rot, x, y);
                if (!Fits(laid)) continue;
                const auto where = ::testing::Message() << "type " << tipo << " state " << rot << " column " << x;

                game.state.Campo.Reset(1);
                PutPiece(tipo, rot, x, y);
                const int rowBefore = PieceCells()[0].second;
                game.Ruota();
                const Cells turned = PieceCells();
                EXPECT_TRUE(Fits(turned)) << where;
                // Lifted only as far as needed: either it was not lifted at all,
                // or its lowest block is now right above the floor.
                EXPECT_TRUE(turned[0].second == rowBefore || Lowest(turned) == 31) << where;

                for (int tick = 0; tick < 4 && SettledCells() == 0; ++tick) game.Timer1_Timer();
                EXPECT_EQ(SettledCells(), 4) << where;
                EXPECT_TRUE(FloorIntact()) << where;
            }
        }
    }
}

TEST_F(Movement, AnSTurnedInRowOneReachesRowZeroAndCannotMoveSidewaysUntilItFalls) {
    PutPiece(6, 0, 5, 1);
    game.Ruota();
    EXPECT_EQ(PieceCells(), (Cells{{5, 1}, {6, 1}, {6, 0}, {7, 0}}));
    EXPECT_FALSE(game.Controlla(true));
    EXPECT_FALSE(game.Controlla(false));
    game.Muovi(true);
    game.Muovi(false);
    EXPECT_EQ(PieceCells(), (Cells{{5, 1}, {6, 1}, {6, 0}, {7, 0}}));

    game.Timer1_Timer();
    EXPECT_EQ(PieceCells(), (Cells{{5, 2}, {6, 2}, {6, 1}, {7, 1}}));
    game.Muovi(true);
    EXPECT_EQ(PieceCells(), (Cells{{6, 2}, {7, 2}, {7, 1}, {8, 1}}));
}

TEST_F(Movement, ATickOrATurnWhileTheSpritesAreParkedOutsideTheWellDoesNothing) {
    // Between a landing and the next piece the sprites wait at the top-left corner.
    for (int k = 1; k <= 4; ++k) fake.MoveSprite(k, 0.0f, -20.0f);
    const Well before = game.state.Campo;
    const std::int16_t rot = game.state.RotPezzo;
    fake.ClearLog();
    game.Timer1_Timer();
    game.Ruota();
    game.Muovi(true);
    game.Muovi(false);
    EXPECT_EQ(game.state.Campo, before);
    EXPECT_EQ(game.state.RotPezzo, rot);
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(fake.SpriteLeft(k), 0.0f);
        EXPECT_EQ(fake.SpriteTop(k), -20.0f);
    }
    EXPECT_TRUE(fake.log.empty()) << fake.log.front();
}

}  // namespace
}  // namespace tumblara::testing
