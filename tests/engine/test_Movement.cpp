// The falling piece: where a new one enters, its sideways moves and its turns,
// with the walls, settled blocks, row 0, the push off the right wall and the
// lift off the floor.

#include <gtest/gtest.h>

#include "tests/support/Board.h"

namespace tumblara::testing {
namespace {

// Every state as seen on screen: digit k is block k.
struct Drawn { std::int16_t tipo; std::vector<std::int16_t> rots; std::string_view picture; };
const Drawn kShapes[] = {
    {1, {0, 2}, "1234"},     {1, {1, 3}, "1/2/3/4"},  {2, {0, 1, 2, 3}, "12/34"},
    {3, {0}, "1./2./34"},    {3, {1}, "..4/123"},     {3, {2}, "12/.3/.4"},  {3, {3}, "123/4.."},
    {4, {0}, ".1/.2/43"},    {4, {1}, "123/..4"},     {4, {2}, "12/3./4."},  {4, {3}, "1../234"},
    {5, {0, 2}, ".3/14/2."}, {5, {1, 3}, "12./.34"},  {6, {0, 2}, "1./23/.4"}, {6, {1, 3}, ".34/12."},
    {7, {0}, ".4./123"},     {7, {1}, ".2/13/.4"},    {7, {2}, "123/.4."},   {7, {3}, "1./23/4."},
};

class Movement : public ::testing::Test, protected GameOnFakeWindow {
protected:
    void SetUp() override { StartGame(); }
};

TEST_F(Movement, ANewPieceEntersAsDrawnWithItsTopBlockInRowOneAndInColumnsOneToThirteen) {
    auto enter = [this](std::int16_t tipo, std::int16_t rot, float u) {
        game.state.TipoPezzo = tipo, game.state.RotPezzo = rot;
        fake.ScriptRnd({u});
        game.Posiziona(true);
        return PieceCells();
    };
    for (const Drawn& d : kShapes)
        for (const std::int16_t rot : d.rots)
            EXPECT_EQ(enter(d.tipo, rot, RndForColumn(5)), DrawnCells(d.picture, 5)) << d.tipo << "/" << rot;
    EXPECT_EQ(enter(1, 0, 0.0f), DrawnCells("1234", 1));
    EXPECT_EQ(enter(1, 0, 0.99999994f), DrawnCells("1234", 13)) << "the largest draw below 1";
    EXPECT_EQ(enter(4, 0, 0.0f), DrawnCells(".1/.2/43", 2)) << "the J's foot stays in column 1";
    EXPECT_EQ(enter(4, 1, 0.0f), DrawnCells("123/..4", 1)) << "only state 0 is moved";
}

TEST_F(Movement, ASidewaysMoveShiftsAllFourBlocksOnlyWhenEveryTargetCellIsFreeAndInsideTheWell) {
    struct Case { const char* what; std::int16_t tipo, rot; int x, y; bool right; std::pair<int, int> settled; bool moves; };
    const Case cases[] = {
        {"flat I at the left wall", 1, 0, 1, 10, false, {}, false},
        {"flat I one short of the right wall", 1, 0, 12, 10, true, {}, true},
        {"flat I at the right wall", 1, 0, 13, 10, true, {}, false},
        {"T with a block right of its top block", 7, 0, 5, 10, true, {7, 9}, false},
        {"T with a block diagonally below", 7, 0, 5, 10, false, {4, 11}, true},
        {"T with a block left of block 1", 7, 0, 5, 10, false, {4, 10}, false},
        {"S reaching into row 0", 6, 1, 5, 1, true, {}, false},
        {"S one row lower", 6, 1, 5, 2, true, {}, true},
    };
    for (const Case& c : cases) {
        game.state.Campo.Reset(1);
        if (c.settled.first != 0) game.state.Campo(c.settled.first, c.settled.second) = 3;
        PutPiece(c.tipo, c.rot, c.x, c.y);
        Cells expected = PieceCells();
        for (auto& cell : expected) cell.first += c.moves ? (c.right ? 1 : -1) : 0;
        game.Muovi(c.right);
        EXPECT_EQ(PieceCells(), expected) << c.what << (c.right ? ", right" : ", left");
    }
}

TEST_F(Movement, ATurnIsAClockwiseQuarterAroundBlockOneAfterAPushOffTheRightWallAndBeforeALiftOffTheFloor) {
    struct Case { const char* what; std::int16_t tipo, rot; int x, y; std::int16_t rotAfter; Cells after; };
    const Case cases[] = {
        {"T, state 0 wraps to 3", 7, 0, 7, 10, 3, DrawnCells("1./23/4.", 7, 10)},
        {"T in columns 11..13 is not pushed", 7, 2, 11, 10, 1, DrawnCells(".2/13/.4", 11, 9)},
        {"flat I in columns 13..16 is pushed to 9..12", 1, 0, 13, 10, 3, DrawnCells("1/2/3/4", 9, 10)},
        {"upright I in column 16 is pushed to 12", 1, 1, 16, 10, 0, DrawnCells("1234", 12, 10)},
        {"L reaching column 14 ends its rightmost block in 12", 3, 3, 12, 10, 2, DrawnCells("12/.3/.4", 10, 10)},
        {"J turned into state 0 at column 1", 4, 1, 1, 10, 0, DrawnCells(".1/.2/43", 2, 10)},
        {"flat I on row 31 stands in rows 28..31", 1, 0, 5, 31, 3, DrawnCells("1/2/3/4", 5, 28)},
        {"J reaching one row into the floor is lifted by one", 4, 1, 5, 30, 0, DrawnCells(".1/.2/43", 5, 29)},
        {"S turned in row 1 reaches row 0", 6, 0, 5, 1, 3, DrawnCells(".34/12.", 5, 0)},
    };
    for (const Case& c : cases) {
        PutPiece(c.tipo, c.rot, c.x, c.y);
        game.Ruota();
        EXPECT_EQ(game.state.RotPezzo, c.rotAfter) << c.what;
        EXPECT_EQ(PieceCells(), c.after) << c.what;
    }
    game.Timer1_Timer();
    EXPECT_EQ(PieceCells(), DrawnCells(".34/12.", 5, 1)) << "a piece reaching into row 0 still falls";
}

TEST_F(Movement, ATurnIntoSettledBlocksIsNeverRefusedAndTheLandingPaintsOverThem) {
    SetBottomRows(game.state.Campo, std::vector<std::string>(12, ".....22........."));  // rows 20..31
    ShowCampo();
    game.state.ColorePezzo = 5;
    PutPiece(1, 1, 5, 20);  // upright I beside the pile
    game.Ruota();
    game.Timer1_Timer();  // flat across the pile, it lands where it is
    const auto rows = WellRows(game.state.Campo, 19);
    EXPECT_EQ(std::vector(rows.begin(), rows.begin() + 3), TextRows("................/....5555......../.....22........."));
    EXPECT_EQ(fake.ShownWell()[19], rows[1]);
}

TEST_F(Movement, ATickATurnOrAMoveWhileTheSpritesAreParkedOutsideTheWellDoesNothing) {
    // Between a landing and the next piece (a level banner) the sprites wait at the top-left corner.
    for (int k = 1; k <= 4; ++k) fake.MoveSprite(k, kParcheggioX, kParcheggioY);
    fake.ClearLog();
    game.Timer1_Timer();
    game.Ruota();
    game.Muovi(true);
    EXPECT_EQ(PieceCells(), Cells(4, {0, -2}));
    EXPECT_TRUE(fake.log.empty()) << fake.log.front();
}

}  // namespace
}  // namespace tumblara::testing
