// The game on the fake window. The falling piece: gravity, landing, full rows
// and the score, sideways moves, turns, new pieces and the preview; the shapes
// themselves. The waits inside the game's procedures: the level banner, the
// game over and the pause, and the menu clicks that reach the game while it
// waits. The fuzzer checks the rest after every event: where the sprites wait
// after a landing, for every cell size, and that "Esci" ends the program from
// inside any wait.

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/Board.h"

namespace tumblara::testing {
namespace {

const std::string kEmptyBox = "....../....../....../....../....../....../";

class Play : public ::testing::Test, protected GameOnFakeWindow {
protected:
    void SetUp() override { StartGame(); }
    // A well and a piece in it, falling fast from a score of 0. The preview shows the next
    // piece, a flat I in picture 6; the landing's draws preview a T in state 1 and picture 7.
    void Prepare(const std::vector<std::string>& well, std::int16_t tipo, std::int16_t rot, int x, int y) {
        game.state.TipoProssimo = 1;
        game.state.RotProssimo = 0;
        game.state.ColorePezzo = 5;
        game.state.ColoreProssimo = 6;
        game.state.Punteggio = 0;
        game.ProssimoPezzo();
        SetWell(well);
        PutPiece(tipo, rot, x, y);
        game.CadutaRapida();
        fake.rnd = {0.9f, 0.3f, 0.95f, 7.5f / 13};  // a T, state 1, picture 7, column 8
    }
    // An upright I completes row 31 from `score` on the first tick, then the run goes on
    // for `ms`. The default run ends after any banner, before the next piece can land.
    bool LandOneRow(std::int32_t score, int ms = 2600) {
        Prepare({"3..............3", "3333333.33333333"}, 1, 1, 8, 28);
        game.state.Punteggio = score;
        return fake.RunFor(Ms{ms});
    }
};
using Falling = Play;
using Waits = Play;

// Where a piece comes to rest decides the game. The player steers it only into
// free cells inside the well; turns are pushed off the right wall from column
// 14 on and lifted off the floor. It falls a row a tick and settles, in
// its own picture, on the floor or on the first block below it. Every row the
// landing completes goes, the rows above move down a row, and each is worth 16
// points. The landing ends the fast drop, hands over the previewed piece in
// every sprite and previews the next draws in place of the whole old preview.
TEST_F(Falling, ThePieceMovesTurnsFallsAndSettlesAndTheRowsItCompletesGo) {
    struct Case {  // the piece's shape, state and block 1; a key: Right, Left or Turn; then fast-drop ticks
        const char* what; std::vector<std::string> before; std::int16_t tipo, rot; int x, y; char key;
        int ticks, steps, rows; std::vector<std::string> after;
    };
    const std::vector<std::string> none;
    const std::string i10 = ".........@......";
    const std::string i9 = "........@.......";
    const std::string i5 = "....@...........";
    const Case cases[] = {  // those that remove no row first: they show the new game's score
        {"a step right", none, 7, 0, 5, 31, 'R', 0, 0, 0, {"......@.........", ".....@@@........"}},
        {"the left wall", none, 1, 0, 1, 31, 'L', 0, 0, 0, {"@@@@............"}},
        {"the right wall", none, 1, 0, 13, 30, 'R', 0, 0, 0, {"............@@@@", kEmptyRow}},
        {"a block beside", {"......3........."}, 2, 0, 5, 30, 'R', 0, 0, 0, {"....@@..........", "....@@3........."}},
        {"a block below the target", {"....3..........."}, 2, 0, 6, 29, 'L', 0, 0, 0,
         {"....@@..........", "....@@..........", "....3..........."}},
        {"a quarter turn clockwise", none, 7, 0, 5, 29, 'T', 0, 0, 0, {i5, "....@@..........", i5}},
        {"turned in place up to column 13", none, 1, 0, 10, 28, 'T', 0, 0, 0, {i10, i10, i10, i10}},
        {"pushed off the right wall from 14", none, 1, 0, 11, 28, 'T', 0, 0, 0, {i9, i9, i9, i9}},
        {"the J's foot off the left wall", none, 4, 1, 1, 29, 'T', 0, 0, 0,
         {".@..............", ".@..............", "@@.............."}},
        {"lifted off the floor", none, 1, 0, 5, 31, 'T', 0, 0, 0, {i5, i5, i5, i5}},
        {"S caught by one foot", {"....3..........."}, 6, 0, 5, 28, ' ', 2, 1, 0,
         {"....5...........", "....55..........", "....35.........."}},
        {"the top block's row", {"7777777.77777777", "4...............", "4...............", "4..............."},
         1, 1, 8, 28, ' ', 1, 0, 1, {"4......5........", "4......5........", "4......5........"}},
        {"four rows under a pile",
         {"3..............3", "7777777.77777777", "7777777.77777777", "7777777.77777777", "7777777.77777777"},
         1, 1, 8, 28, ' ', 1, 0, 4, {"3..............3"}},
        {"two rows around two that stay, with gaps at the walls",
         {"7777777.77777777", "2222222.2222222.", "6666666.66666666", ".444444.44444444"},
         1, 1, 8, 28, ' ', 1, 0, 2, {"222222252222222.", ".444444544444444"}},
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
        for (int k = 1; k <= 4; ++k) EXPECT_EQ(fake.Picture(k), 6) << c.what << ": sprite " << k;
        EXPECT_EQ(Preview(), "....../....../...7../..77../...7../....../") << c.what;
    }
}

// Every state turned a quarter turn clockwise on the screen (rows grow
// downwards) is the state before it, wherever it lies. A new piece enters with its top block in row 1 and its
// block 1 in a column drawn from 1 to 13; a J whose foot would stand in the
// wall moves a column right. A turn may lift blocks into row 0, from where
// only gravity moves them.
TEST_F(Falling, EachStateTurnedClockwiseIsTheOneBeforeAndEntersInRowOneFromColumnOneToThirteen) {
    const auto cells = [](std::int16_t tipo, int rot, bool turned) {  // sorted, the first one moved to (0, 0)
        Cells c;
        for (const Offset& o : Forma(tipo, static_cast<std::int16_t>(rot % 4)))
            c.emplace_back(turned ? -o.dr : o.dc, turned ? o.dc : o.dr);
        std::ranges::sort(c);
        const auto [left, top] = c.front();
        for (auto& cell : c) cell = {cell.first - left, cell.second - top};
        return c;
    };
    for (std::int16_t tipo = 1; tipo <= 7; ++tipo) {
        for (std::int16_t rot = 0; rot <= 3; ++rot) {
            const std::string state = std::to_string(tipo) + "/" + std::to_string(rot);
            EXPECT_EQ(cells(tipo, rot, true), cells(tipo, rot + 3, false)) << state;
            PutPiece(tipo, rot, 5, 10);
            fake.rnd = {0.0f, std::nextafter(1.0f, 0.0f)};  // the lowest draw, then the highest
            game.Posiziona(true);
            EXPECT_EQ(std::ranges::min(PieceCells(), {}, &std::pair<int, int>::second).second, 1) << state << ": top";
            EXPECT_EQ(std::ranges::min(PieceCells()).first, 1) << state << ": the left wall, J's foot too";
            game.Posiziona(true);
            EXPECT_EQ(PieceCells().front().first, 13) << state << ": block 1";
        }
    }
    PutPiece(6, 0, 5, 1);
    game.Ruota();  // an S turned at the top reaches row 0, where no sideways move is free
    game.Muovi(false);
    game.CadutaRapida();
    fake.RunFor(Ms{20});
    EXPECT_EQ(PieceCells(), (Cells{{5, 2}, {6, 2}, {6, 1}, {7, 1}})) << "only gravity moved it, a row down";
}

// Levels pace the game: each hundred points, reached or passed, empties the
// well, takes 50 ms off gravity down to 50 ms, and blinks "Level n" for about
// two seconds.
TEST_F(Waits, EachHundredPointsStartsALevelThatEmptiesTheWellAndSpeedsGravityUpToFiftyMs) {
    LandOneRow(game.state.SogliaLivello - 32);
    EXPECT_EQ(fake.CountInLog("sound Bonus2.wav"), 0) << "short of the threshold";
    const std::tuple<std::int32_t, const char*, std::int32_t> levels[] = {  // the new pace and banner, the score
        {250, "Level  1", -4}, {200, "Level  2", -16}, {150, "Level  3", -16}, {100, "Level  4", -16},
        {50, "Level  5", -16}, {50, "Level  6", -16}, {50, "Level  6", -16}};  // before a one-row landing
    for (const auto& [interval, banner, score] : levels) {
        LandOneRow(game.state.SogliaLivello + score);
        EXPECT_EQ(fake.Interval(TimerId::Timer1), interval) << banner << ": the new pace";
        EXPECT_EQ(fake.CountInLog("timer2 100"), 1) << banner << ": the banner blinked";
        EXPECT_EQ(fake.Caption(LabelId::Label3), banner);
        EXPECT_EQ(fake.CountInLog("sound Bonus2.wav"), 1) << banner;
        EXPECT_EQ(Well(false), Bottom({})) << banner;
        EXPECT_EQ(Shown(), Bottom({})) << banner;
    }
}

// The banner ends two seconds after the nearest whole second (halves to even),
// measured so that a banner begun before midnight still ends.
TEST(Banner, EndsTwoSecondsAfterTheNearestWholeSecondAlsoAcrossMidnight) {
    const std::pair<double, int> cases[] = {{1000.25, 1750}, {1000.5, 1500}, {1001.5, 2500}, {86399.75, 2250}};
    for (const auto& [timeOfDay, ms] : cases) {
        GameOnFakeWindow g(timeOfDay);
        std::vector<bool> playing;  // just before and just after the expected end
        g.fake.After(Ms{0}, [&] { g.game.NuovaPartita(); });
        for (const int at : {ms - 1, ms + 1}) g.fake.After(Ms{at}, [&] { playing.push_back(g.game.state.InGioco); });
        EXPECT_TRUE(g.fake.RunFor(Ms{3000}));
        EXPECT_EQ(playing, std::vector({false, true})) << timeOfDay;
    }
}

// A piece that comes to rest with any block above row 4 ends the game; one
// whose highest block rests in row 4 does not. The end clears the key latches
// and the score.
TEST_F(Waits, APieceRestingAboveRowFourEndsTheGame) {
    const std::tuple<std::int16_t, std::int16_t, int, bool> cases[] = {  // shape, state, row of block 1, ends
        {1, 0, 4, false}, {1, 0, 3, true}, {7, 2, 4, false}, {7, 0, 4, true}};
    for (const auto& [tipo, rot, y, ends] : cases) {
        StartGame();
        SetWell(std::vector<std::string>(static_cast<std::size_t>(kLastRow - y), "....2..........."));
        PutPiece(tipo, rot, 5, y);  // on a pile under block 1
        game.state.TastoPremuto = true;
        game.state.CadutaPremuta = true;
        game.state.Punteggio = 48;
        fake.RunFor(Ms{300});  // one tick
        const std::string what = std::to_string(tipo) + "/" + std::to_string(rot) + " in row " + std::to_string(y);
        EXPECT_EQ(game.state.InGioco, !ends) << what;
        EXPECT_EQ(game.state.TastoPremuto, !ends) << what;
        EXPECT_EQ(game.state.CadutaPremuta, !ends) << what;
        EXPECT_EQ(game.state.Punteggio, ends ? 0 : 48) << what;
    }
}

// The end of a game leaves the final score on show and blinks "Game Over"; the
// preview is blanked on the window only. A new game starts afresh at once.
TEST_F(Waits, TheEndOfAGameHoldsItsPictureUntilANewGame) {
    fake.SetCaption(LabelId::Label2, "Score :  16");
    SetWell(std::vector<std::string>(28, "......2........."));
    game.ProssimoPezzo();
    const std::string preview = Preview();
    PutPiece(1, 0, 5, 3);  // a flat I in row 3 on a pile up to row 4: the next tick ends the game
    std::vector<bool> shown;
    fake.After(Ms{1000}, [&] {
        EXPECT_EQ(fake.Caption(LabelId::Label2), "Score :  16");
        EXPECT_EQ(fake.Caption(LabelId::Label3), "Game Over");
        EXPECT_EQ(fake.Interval(TimerId::Timer2), 500);
        EXPECT_EQ(Preview(), kEmptyBox);
        fake.Repaint();
        EXPECT_EQ(Preview(), preview) << "a repaint brings the last preview back";
    });
    for (const int at : {1000, 1500}) fake.After(Ms{at}, [&] { shown.push_back(fake.IsVisible(LabelId::Label3)); });
    fake.After(Ms{1600}, [this] { game.NuovaPartita(); });
    fake.After(Ms{1700}, [this] {
        EXPECT_EQ(OnWindow(), Bottom({})) << "an empty well at once";
        EXPECT_EQ(std::ranges::min(PieceCells(), {}, &std::pair<int, int>::second).second, 1) << "a piece at the top";
    });
    EXPECT_TRUE(fake.RunFor(Ms{4200})) << "the new game ended the game-over wait";
    EXPECT_NE(shown.front(), shown.back()) << "Game Over blinks";
    EXPECT_EQ(fake.Caption(LabelId::Label3), "Level  0");
    EXPECT_EQ(Preview(true), kEmptyBox) << "the new game's level change empties the preview";
}

// The menu reaches the game inside its waits. "Pausa" freezes gravity until
// "Continua"; inside a level banner "Continua" ends the banner at once and the
// new level starts as it would have, while a new game cuts the banner short
// and runs its own.
TEST_F(Waits, PauseHoldsThePieceAndInsideALevelBannerContinuaStartsTheLevelAtOnce) {
    PutPiece(2, 0, 5, 10);
    fake.After(Ms{0}, [this] { game.PausaContinua(); });
    fake.After(Ms{2000}, [&] { EXPECT_EQ(PieceCells(), (Cells{{5, 10}, {6, 10}, {5, 11}, {6, 11}})) << "held"; });
    fake.After(Ms{2000}, [this] { game.PausaContinua(); });
    EXPECT_TRUE(fake.RunFor(Ms{2100})) << "Continua ended the pause";
    // "Continua" comes with a gravity tick, which finds no piece in the well yet.
    for (const int at : {500, 1020}) fake.After(Ms{at}, [this] { game.PausaContinua(); });
    fake.After(Ms{500}, [this] { EXPECT_LT(fake.SpriteTop(1), 0) << "the landed piece's sprites parked"; });
    fake.After(Ms{1021}, [this] {
        EXPECT_TRUE(game.state.InGioco);
        EXPECT_EQ(fake.CountInLog("sound Impact02.wav"), 0) << "the tick found no piece to step down";
        EXPECT_TRUE(fake.IsVisible(LabelId::Label3));
        EXPECT_EQ(fake.Interval(TimerId::Timer2), 0) << "the label stays";
    });
    LandOneRow(game.state.SogliaLivello - 16, 1100);
    fake.After(Ms{500}, [this] { game.PausaContinua(); });
    fake.After(Ms{700}, [this] { game.NuovaPartita(); });
    EXPECT_TRUE(LandOneRow(game.state.SogliaLivello - 16, 3300)) << "the new game ended the pause and the banner";
    EXPECT_EQ(fake.CountInLog("fill 10,1 170,320 retained"), 1) << "the well is emptied once";
    EXPECT_EQ(game.state.SogliaLivello, 100);
    EXPECT_EQ(fake.Caption(LabelId::Label2), "Score :  0");
    EXPECT_EQ(fake.Caption(LabelId::Menu1), "Pausa");
}

}  // namespace
}  // namespace tumblara::testing
