// The game on the fake window. The falling piece: gravity, landing, full rows
// and the score, sideways moves, turns and the next piece. The waits inside
// the game's procedures: the level banner, the game over and the pause, and
// the menu clicks that reach the game while it waits. The fuzzer checks the
// rest after every event: where the sprites wait after a landing, for every
// cell size, and that "Esci" ends the program from inside any wait.

#include <gtest/gtest.h>

#include "tests/support/Board.h"

namespace tumblara::testing {
namespace {

class Play : public ::testing::Test, protected GameOnFakeWindow {
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
    // An upright I completes row 31 from `score` on the first tick, then the run goes on
    // for `ms`. The default run ends after any banner, before the next piece can land.
    bool LandOneRow(std::int32_t score, int ms = 2600) {
        Prepare({"3333333.33333333"}, 1, 1, 8, 28);
        game.state.Punteggio = score;
        return fake.RunFor(Ms{ms});
    }
};
using Falling = Play;
using Waits = Play;

// Where a piece comes to rest decides the game. The player steers it only into
// free cells inside the well; turns are never refused, but are pushed off the
// right wall and lifted off the floor. It falls a row a tick and settles, in
// its own picture, on the floor or on the first block below it. Every row the
// landing completes goes, the rows above move down a row, and each is worth 16
// points. The landing ends the fast drop, hands over the previewed piece and
// previews the next draws: shape, state, picture, column.
TEST_F(Falling, ThePieceMovesTurnsFallsAndSettlesAndTheRowsItCompletesGo) {
    struct Case { const char* what; std::vector<std::string> before; std::int16_t tipo, rot; int x, y; char key; int ticks, steps, rows; std::vector<std::string> after; };
    const std::vector<std::string> none;
    const Case cases[] = {  // those that remove no row first: they show the new game's score
        {"a step right", none, 7, 0, 5, 31, 'R', 0, 0, 0, {"......@.........", ".....@@@........"}},
        {"the left wall", none, 1, 0, 1, 31, 'L', 0, 0, 0, {"@@@@............"}},
        {"the right wall", none, 1, 0, 13, 30, 'R', 0, 0, 0, {"............@@@@", "................"}},
        {"a block beside", {"......3........."}, 2, 0, 5, 30, 'R', 0, 0, 0, {"....@@..........", "....@@3........."}},
        {"a block below the target", {"....3..........."}, 2, 0, 6, 29, 'L', 0, 0, 0, {"....@@..........", "....@@..........", "....3..........."}},
        {"a quarter turn clockwise", none, 7, 0, 5, 29, 'T', 0, 0, 0, {"....@...........", "....@@..........", "....@..........."}},
        {"pushed off the right wall", none, 1, 0, 13, 28, 'T', 0, 0, 0, {"........@.......", "........@.......", "........@.......", "........@......."}},
        {"pushed off the wall lying", none, 1, 1, 16, 28, 'T', 0, 0, 0, {"...........@@@@.", "................", "................", "................"}},
        {"the J's foot off the left wall", none, 4, 1, 1, 29, 'T', 0, 0, 0, {".@..............", ".@..............", "@@.............."}},
        {"lifted off the floor", none, 1, 0, 5, 31, 'T', 0, 0, 0, {"....@...........", "....@...........", "....@...........", "....@..........."}},
        {"turned into blocks", {"......3.........", "................", "................", "................"}, 1, 1, 5, 28, 'T', 0, 0, 0,
         {"....@@@@........", "................", "................", "................"}},
        {"O in the air", none, 2, 0, 5, 27, ' ', 2, 2, 0, {"....@@..........", "....@@..........", "................"}},
        {"O onto the floor", none, 2, 0, 5, 29, ' ', 2, 1, 0, {"....55..........", "....55.........."}},
        {"upright I onto a pile", {"....3...........", "....3..........."}, 1, 1, 5, 24, ' ', 3, 2, 0,
         {"....5...........", "....5...........", "....5...........", "....5...........", "....3...........", "....3..........."}},
        {"S caught by one foot", {"....3..........."}, 6, 0, 5, 28, ' ', 2, 1, 0, {"....5...........", "....55..........", "....35.........."}},
        {"one row", {"......4.........", "3333333.33333333"}, 1, 1, 8, 28, ' ', 1, 0, 1, {".......5........", ".......5........", "......45........"}},
        {"four rows under a pile", {"3..............3", "7777777.77777777", "7777777.77777777", "7777777.77777777", "7777777.77777777"},
         1, 1, 8, 28, ' ', 1, 0, 4, {"3..............3"}},
        {"two rows around one that stays", {"7777777.77777777", "22222.2.22222222", "6666666.66666666", "4444444.4444.444"},
         1, 1, 8, 28, ' ', 1, 0, 2, {"22222.2522222222", "444444454444.444"}},
    };
    for (const Case& c : cases) {
        Prepare(c.before, c.tipo, c.rot, c.x, c.y);
        if (c.key == 'T') game.Ruota();
        if (c.key == 'L' || c.key == 'R') game.Muovi(c.key == 'R');
        fake.RunFor(Ms{20 * c.ticks});  // the fast drop's ticks
        const bool landed = c.steps < c.ticks;
        EXPECT_EQ(Well(), Bottom(c.after, landed ? std::vector<std::string>{".......@@@@....."} : none)) << c.what;
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

// Levels pace the game: each hundred points empties the well, takes 50 ms off
// gravity down to 50 ms, and blinks "Level n" for about two seconds.
TEST_F(Waits, EachHundredPointsStartsALevelThatEmptiesTheWellAndSpeedsGravityUpToFiftyMs) {
    LandOneRow(game.state.SogliaLivello - 32);
    EXPECT_EQ(fake.CountInLog("sound Bonus2.wav"), 0) << "short of the threshold";
    const std::pair<std::int32_t, const char*> levels[] = {
        {250, "Level  1"}, {200, "Level  2"}, {150, "Level  3"}, {100, "Level  4"}, {50, "Level  5"}, {50, "Level  6"}, {50, "Level  6"}};
    for (const auto& [interval, banner] : levels) {
        const std::int32_t threshold = game.state.SogliaLivello;
        LandOneRow(threshold - 16);
        EXPECT_EQ(fake.Interval(TimerId::Timer1), interval) << banner << ": the new pace";
        EXPECT_EQ(fake.CountInLog("timer2 100"), 1) << banner << ": the banner blinked";
        EXPECT_EQ(game.state.SogliaLivello, threshold + 100) << banner;
        EXPECT_EQ(fake.Caption(LabelId::Label3), banner);
        EXPECT_TRUE(fake.IsVisible(LabelId::Label3) && fake.Interval(TimerId::Timer2) == 0) << banner << ": the banner stays";
        EXPECT_EQ(fake.CountInLog("sound Bonus2.wav"), 1) << banner;
        EXPECT_EQ(Well(false), Bottom({})) << banner;
        EXPECT_EQ(Shown(), Bottom({})) << banner;
    }
}

// The banner ends two seconds after the nearest whole second (halves to even),
// measured so that a banner begun before midnight still ends.
TEST(Banner, EndsTwoSecondsAfterTheNearestWholeSecondAlsoAcrossMidnight) {
    for (const auto& [timeOfDay, ms] : std::vector<std::pair<double, int>>{{1000.25, 1750}, {1000.5, 1500}, {1001.5, 2500}, {86399.75, 2250}}) {
        GameOnFakeWindow g(timeOfDay);
        std::vector<bool> playing;  // just before and just after the expected end
        for (const int at : {0, ms - 1, ms + 1}) g.fake.After(Ms{at}, [&, at] { at == 0 ? g.game.NuovaPartita() : playing.push_back(g.game.state.InGioco); });
        EXPECT_TRUE(g.fake.RunFor(Ms{3000}));
        EXPECT_EQ(playing, std::vector({false, true})) << timeOfDay;
    }
}

// A game ends when a piece cannot leave the top rows: play stops, the score
// stays on show, "Game Over" blinks, and the preview is blanked on the window only.
TEST_F(Waits, APieceThatCannotLeaveTheTopRowsEndsTheGameUntilANewOne) {
    fake.SetCaption(LabelId::Label2, "Score :  16");
    game.ProssimoPezzo();
    const std::string preview = Preview();
    SetWell(std::vector<std::string>(28, "......2........."));
    PutPiece(1, 0, 5, 3);  // a flat I in row 3 on a pile up to row 4: the next tick ends the game
    fake.After(Ms{1000}, [&] {
        EXPECT_EQ(fake.Caption(LabelId::Label2), "Score :  16");
        EXPECT_EQ(fake.Caption(LabelId::Label3), "Game Over");
        EXPECT_EQ(fake.Interval(TimerId::Timer2), 500);
        EXPECT_EQ(Preview(), "....../....../....../....../....../....../");
        fake.Repaint();
        EXPECT_EQ(Preview(), preview) << "a repaint brings the last preview back";
    });
    fake.After(Ms{1100}, [this] { game.NuovaPartita(); });
    EXPECT_TRUE(fake.RunFor(Ms{3700})) << "the new game ended the game-over wait";
    EXPECT_EQ(fake.Caption(LabelId::Label3), "Level  0");
    EXPECT_EQ(fake.CountInLog("paint"), 0) << "the ended tick neither settles its piece nor previews a next one";
}

// The menu reaches the game inside its waits: "Pausa" freezes gravity until
// "Continua" or a new game, and a new game cuts a level banner short.
TEST_F(Waits, PauseHoldsThePieceUntilContinuaOrANewGameAndANewGameCutsABannerShort) {
    for (const bool continua : {true, false}) {
        PutPiece(2, 0, 5, 10);
        fake.After(Ms{0}, [this] { game.PausaContinua(); });
        fake.After(Ms{2000}, [&] { EXPECT_EQ(PieceCells(), (Cells{{5, 10}, {6, 10}, {5, 11}, {6, 11}})) << "held"; });
        fake.After(Ms{2000}, [&] { continua ? game.PausaContinua() : game.NuovaPartita(); });
        EXPECT_TRUE(fake.RunFor(Ms{4700}));
        EXPECT_TRUE(game.state.InGioco);
        EXPECT_EQ(fake.Caption(LabelId::Menu1), "Pausa");
    }
    fake.After(Ms{700}, [this] { game.NuovaPartita(); });
    LandOneRow(84, 3300);
    EXPECT_EQ(fake.CountInLog("fill 10,1 170,320 retained"), 1) << "the well is emptied once";
    EXPECT_EQ(game.state.SogliaLivello, 100);
}

}  // namespace
}  // namespace tumblara::testing
