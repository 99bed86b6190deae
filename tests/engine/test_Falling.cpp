// The falling piece: gravity, landing, full rows and the score, sideways
// moves, turns, the next piece, and where the sprites wait after a landing.

#include <gtest/gtest.h>

#include "tests/support/Board.h"

namespace tumblara::testing {
namespace {

class Falling : public ::testing::Test, protected GameOnFakeWindow {
protected:
    void SetUp() override { StartGame(); }
    // A well and a piece in it, falling fast from a score of 0. The next landing hands
    // over a flat I in picture 6, and its draws preview a T in state 1 and picture 4.
    void Prepare(const std::vector<std::string>& well, std::int16_t tipo, std::int16_t rot, int x, int y) {
        SetWell(well);
        PutPiece(tipo, rot, x, y);
        game.state.TipoProssimo = 1, game.state.RotProssimo = 0, game.state.ColorePezzo = 5, game.state.ColoreProssimo = 6;
        game.state.Punteggio = 0;
        game.CadutaRapida();
        fake.rnd = {0.9f, 0.3f, 0.5f, 7.5f / 13};  // a T, state 1, picture 4, column 8
    }
};

// Where a piece comes to rest decides the game: it falls a row a tick and
// settles, in its own picture, on the floor or on the first block below it.
// Every row the landing completes goes, the rows above move down a row, and
// each is worth 16 points. The landing ends the fast drop, hands over the
// previewed piece and previews the next draws: shape, state, picture, column.
TEST_F(Falling, APieceFallsARowATickSettlesAndTheRowsItCompletesGo) {
    struct Case { const char* what; std::int16_t tipo, rot; int x, y, ticks, steps, rows; std::vector<std::string> before, after; };
    const Case cases[] = {  // those that remove no row first: they show the new game's score
        {"O in the air", 2, 0, 5, 27, 2, 2, 0, {}, {"....@@..........", "....@@..........", "................"}},
        {"O onto the floor", 2, 0, 5, 29, 2, 1, 0, {}, {"....55..........", "....55.........."}},
        {"upright I onto a pile", 1, 1, 5, 24, 3, 2, 0, {"....3...........", "....3..........."},
         {"....5...........", "....5...........", "....5...........", "....5...........", "....3...........", "....3..........."}},
        {"S caught by one foot", 6, 0, 5, 28, 2, 1, 0, {"....3..........."}, {"....5...........", "....55..........", "....35.........."}},
        {"one row", 1, 1, 8, 28, 1, 0, 1, {"......4.........", "3333333.33333333"}, {".......5........", ".......5........", "......45........"}},
        {"four rows under a pile", 1, 1, 8, 28, 1, 0, 4,
         {"3..............3", "7777777.77777777", "7777777.77777777", "7777777.77777777", "7777777.77777777"}, {"3..............3"}},
        {"two rows around one that stays", 1, 1, 8, 28, 1, 0, 2,
         {"7777777.77777777", "22222.2.22222222", "6666666.66666666", "4444444.4444.444"}, {"22222.2522222222", "444444454444.444"}},
    };
    for (const Case& c : cases) {
        Prepare(c.before, c.tipo, c.rot, c.x, c.y);
        Ticks(c.ticks);
        const bool landed = c.steps < c.ticks;
        EXPECT_EQ(Well(), Bottom(c.after, landed ? std::vector<std::string>{".......@@@@....."} : std::vector<std::string>{})) << c.what;
        EXPECT_EQ(Shown(), Well(false)) << c.what << ": the window keeps what settled and every moved row";
        EXPECT_EQ(fake.CountInLog("sound Impact02.wav"), c.steps) << c.what << ": a step sound per row fallen";
        EXPECT_EQ(fake.CountInLog("sound Bonus1.wav"), c.rows) << c.what;
        EXPECT_EQ(fake.Caption(LabelId::Label2), "Score :  " + std::to_string(16 * c.rows)) << c.what;
        if (!landed) continue;
        EXPECT_EQ(fake.Interval(TimerId::Timer1), 300) << c.what;
        EXPECT_EQ(fake.Picture(1), 6) << c.what;
        EXPECT_EQ(Preview(), "....../....../...4../..44../...4../....../") << c.what;
        EXPECT_EQ(Preview(true), Preview()) << c.what << ": the preview is kept";
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

// Between a landing and the next piece the sprites wait out of sight, for
// every cell size, and a tick or a turn meanwhile finds no piece to act on.
TEST(Parking, AfterALandingTheSpritesWaitTogetherWhollyAboveTheWindow) {
    for (int cella = 1; cella <= 255; ++cella) {
        GameOnFakeWindow g(12 * 3600.0, cella);
        g.game.state.SogliaLivello = 100;
        g.PutPiece(1, 1, 5, 28);
        g.game.disegna();
        g.game.Ruota();
        const float top = g.fake.SpriteTop(1);
        for (int k = 1; k <= 4; ++k)
            ASSERT_TRUE(g.fake.SpriteLeft(k) == 0 && g.fake.SpriteTop(k) == top) << "sprite " << k << ", cells of " << cella;
        ASSERT_LE(top + static_cast<float>(cella), 0.0f) << "cells of " << cella;
        ASSERT_TRUE(cella > 20 || top == -20.0f) << "cells of " << cella << ": as it always was";
    }
}

}  // namespace
}  // namespace tumblara::testing
