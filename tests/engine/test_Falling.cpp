// The falling piece: gravity, landing, full rows and the score, sideways
// moves, turns, the next piece, and where the sprites wait after a landing.

#include <gtest/gtest.h>

#include "tests/support/Board.h"

namespace tumblara::testing {
namespace {

class Falling : public ::testing::Test, protected GameOnFakeWindow {
protected:
    void SetUp() override { StartGame(); }
    // A well, a piece in it, and draws that make the next piece a flat I entering at column 1.
    void Prepare(const std::vector<std::string>& well, std::int16_t tipo, std::int16_t rot, int x, int y) {
        SetWell(well);
        PutPiece(tipo, rot, x, y);
        game.state.TipoProssimo = 1, game.state.RotProssimo = 0, game.state.ColorePezzo = 5;
        fake.rnd = {0, 0, 0, 0};
    }
    const std::vector<std::string> kNextAtTheTop = {"@@@@............"};
};

// Where a piece comes to rest decides the game: it falls a row a tick and
// settles, in its own picture, on the floor or on the first block below it.
TEST_F(Falling, APieceFallsARowATickAndSettlesOnTheFloorOrOnTheBlocksBelowIt) {
    struct Case { const char* what; std::int16_t tipo, rot; int x, y, ticks, steps; std::vector<std::string> before, after; };
    const Case cases[] = {
        {"O in the air", 2, 0, 5, 27, 2, 2, {}, {"....@@..........", "....@@..........", "................"}},
        {"O onto the floor", 2, 0, 5, 29, 2, 1, {}, {"....55..........", "....55.........."}},
        {"upright I onto a pile", 1, 1, 5, 24, 3, 2, {"....3...........", "....3..........."},
         {"....5...........", "....5...........", "....5...........", "....5...........", "....3...........", "....3..........."}},
        {"S caught by one foot", 6, 0, 5, 28, 2, 1, {"....3..........."}, {"....5...........", "....55..........", "....35.........."}},
    };
    for (const Case& c : cases) {
        Prepare(c.before, c.tipo, c.rot, c.x, c.y);
        Ticks(c.ticks);
        const bool landed = c.steps < c.ticks;
        EXPECT_EQ(Well(), Bottom(c.after, landed ? kNextAtTheTop : std::vector<std::string>{})) << c.what;
        EXPECT_EQ(Shown(), Well(false)) << c.what << ": the window keeps what settled";
        EXPECT_EQ(fake.CountInLog("sound Impact02.wav"), c.steps) << c.what << ": a step sound per row fallen";
    }
}

// Full rows are the only way to score: each goes, everything above moves down
// a row, and each is worth 16 points.
TEST_F(Falling, EveryRowTheLandingCompletesGoesAndTheRowsAboveMoveDown) {
    struct Case { const char* what; std::vector<std::string> before, after; int removed; };
    const Case cases[] = {
        {"one row", {"......4.........", "3333333.33333333"}, {".......5........", ".......5........", "......45........"}, 1},
        {"four rows under a pile", {"3..............3", "7777777.77777777", "7777777.77777777", "7777777.77777777", "7777777.77777777"},
         {"3..............3"}, 4},
        {"two rows around one that stays", {"7777777.77777777", "22222.2.22222222", "6666666.66666666", "4444444.4444.444"},
         {"22222.2522222222", "444444454444.444"}, 2},
    };
    for (const Case& c : cases) {
        Prepare(c.before, 1, 1, 8, 28);  // an upright I in column 8, resting on the floor
        game.state.Punteggio = 0;
        Ticks(1);
        EXPECT_EQ(Well(), Bottom(c.after, kNextAtTheTop)) << c.what;
        EXPECT_EQ(Shown(), Well(false)) << c.what << ": every moved row is repainted, and kept";
        EXPECT_EQ(fake.CountInLog("sound Bonus1.wav"), c.removed) << c.what;
        EXPECT_EQ(fake.Caption(LabelId::Label2), "Score :  " + std::to_string(16 * c.removed)) << c.what;
    }
}

// The player steers only into free cells inside the well; turns are never
// refused, but are pushed off the right wall and lifted off the floor.
TEST_F(Falling, MovesNeedFreeCellsInsideTheWellAndTurnsArePushedOffTheRightWallAndTheFloor) {
    struct Case { const char* what; std::vector<std::string> before; std::int16_t tipo, rot; int x, y; char key; std::vector<std::string> after; };
    const std::vector<std::string> none;
    const Case cases[] = {
        {"a step right", none, 7, 0, 5, 31, 'R', {"......@.........", ".....@@@........"}},
        {"the left wall", none, 1, 0, 1, 31, 'L', {"@@@@............"}},
        {"the right wall", none, 1, 0, 13, 30, 'R', {"............@@@@", "................"}},
        {"a block beside", {"......3........."}, 2, 0, 5, 30, 'R', {"....@@..........", "....@@3........."}},
        {"a block below the target", {"....3..........."}, 2, 0, 6, 29, 'L', {"....@@..........", "....@@..........", "....3..........."}},
        {"a quarter turn clockwise", none, 7, 0, 5, 29, 'T', {"....@...........", "....@@..........", "....@..........."}},
        {"pushed off the right wall", none, 1, 0, 13, 28, 'T', {"........@.......", "........@.......", "........@.......", "........@......."}},
        {"pushed off the wall lying", none, 1, 1, 16, 28, 'T', {"...........@@@@.", "................", "................", "................"}},
        {"the J's foot off the left wall", none, 4, 1, 1, 29, 'T', {".@..............", ".@..............", "@@.............."}},
        {"lifted off the floor", none, 1, 0, 5, 31, 'T', {"....@...........", "....@...........", "....@...........", "....@..........."}},
        {"into blocks", {"......3.........", "................", "................", "................"}, 1, 1, 5, 28, 'T', {"....@@@@........", "................", "................", "................"}},
    };
    for (const Case& c : cases) {
        Prepare(c.before, c.tipo, c.rot, c.x, c.y);
        c.key == 'T' ? game.Ruota() : game.Muovi(c.key == 'R');
        EXPECT_EQ(Well(), Bottom(c.after)) << c.what;
    }
    Prepare(none, 6, 1, 5, 1);  // an S whose top blocks stand in row 0, outside the well
    game.Muovi(true);
    EXPECT_EQ(Well(), Bottom({}, {"....@@.........."})) << "no step into row 0";
}

// The preview announces the next piece exactly: a landing hands it over, ends
// a fast drop, and draws the next shape, state, picture and column, in that order.
TEST_F(Falling, ALandingHandsOverThePreviewedPieceAndPreviewsTheNextDraws) {
    Prepare({}, 1, 0, 1, 31);
    game.state.TipoProssimo = 7, game.state.RotProssimo = 0, game.state.ColoreProssimo = 6;
    fake.rnd = {0.9f, 0.3f, 0.5f, 7.5f / 13};  // a T, state 1, picture 4, column 8
    game.CadutaRapida();
    Ticks(1);
    EXPECT_EQ(Well(), Bottom({"5555............"}, {"........@.......", ".......@@@......"}));
    EXPECT_EQ(fake.Picture(1), 6);
    EXPECT_EQ(Preview(), "....../....../...4../..44../...4../....../");
    EXPECT_EQ(Preview(true), Preview()) << "the preview is kept";
    EXPECT_EQ(fake.Interval(TimerId::Timer1), 300);
}

// Between a landing and the next piece the sprites wait out of sight, for
// every cell size, and a tick or a turn meanwhile finds no piece to act on.
TEST(Parking, AfterALandingTheSpritesWaitTogetherWhollyAboveTheWindow) {
    for (int cella = 1; cella <= 255; ++cella) {
        FakeWindow fake(cella);
        Game game(fake);
        game.state.Cella = static_cast<std::uint8_t>(cella), game.state.SogliaLivello = 100;
        for (int k = 1; k <= 4; ++k) fake.MoveSprite(k, static_cast<float>(5 * cella), static_cast<float>((27 + k) * cella));
        game.disegna();
        game.Ruota();
        const float top = fake.SpriteTop(1);
        for (int k = 1; k <= 4; ++k)
            ASSERT_TRUE(fake.SpriteLeft(k) == 0 && fake.SpriteTop(k) == top) << "sprite " << k << ", cells of " << cella;
        ASSERT_LE(top + static_cast<float>(cella), 0.0f) << "cells of " << cella;
        ASSERT_TRUE(cella > 20 || top == -20.0f) << "cells of " << cella << ": as it always was";
    }
}

}  // namespace
}  // namespace tumblara::testing
