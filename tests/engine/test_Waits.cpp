// The waits inside the game's procedures: the level banner, the game over and
// the pause, and the menu clicks that reach the game while it waits.

#include <gtest/gtest.h>

#include <functional>

#include "tests/support/Board.h"

namespace tumblara::testing {
namespace {

const std::string kEmptyBox = "....../....../....../....../....../....../";

class Waits : public ::testing::Test, protected GameOnFakeWindow {
protected:
    void SetUp() override { StartGame(); }
    // An upright I completes row 31 from `score`, then the run goes on for `ms`.
    // The default run ends after any banner, before the next piece can land.
    bool LandOneRow(std::int32_t score, int ms = 2600) {
        SetWell({"3333333.33333333"});
        PutPiece(1, 1, 8, 28);
        game.state.Punteggio = score;
        fake.After(Ms{0}, [this] { game.Timer1_Timer(); });
        return fake.RunFor(Ms{ms});
    }
    // A flat I in row 3 on a pile up to row 4: the next tick ends the game.
    void StuckPiece() {
        SetWell(std::vector<std::string>(28, "......2........."));
        PutPiece(1, 0, 5, 3);
    }
};

// Levels pace the game: each hundred points empties the well, takes 50 ms off
// gravity down to 50 ms, and blinks "Level n" for about two seconds.
TEST_F(Waits, EachHundredPointsStartsALevelThatEmptiesTheWellAndSpeedsGravityUpToFiftyMs) {
    LandOneRow(game.state.SogliaLivello - 32);
    EXPECT_EQ(fake.CountInLog("sound Bonus2.wav"), 0) << "short of the threshold";
    const std::pair<std::int32_t, const char*> levels[] = {
        {250, "Level  1"}, {200, "Level  2"}, {150, "Level  3"}, {100, "Level  4"}, {50, "Level  5"}, {50, "Level  6"}, {50, "Level  6"}};
    for (const auto& [interval, banner] : levels) {
        const std::int32_t threshold = game.state.SogliaLivello;
        std::pair<std::int32_t, std::int32_t> during;
        fake.After(Ms{1000}, [&] { during = {fake.Interval(TimerId::Timer1), fake.Interval(TimerId::Timer2)}; });
        LandOneRow(threshold - 16);
        EXPECT_EQ(during, std::pair(interval, 100)) << banner << ": the new pace, and the banner blinking";
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
    StuckPiece();
    fake.After(Ms{1000}, [&] {
        EXPECT_FALSE(game.state.InGioco);
        EXPECT_EQ(fake.Caption(LabelId::Label2), "Score :  16");
        EXPECT_EQ(fake.Caption(LabelId::Label3), "Game Over");
        EXPECT_EQ(fake.Interval(TimerId::Timer2), 500);
        EXPECT_EQ(Preview(), kEmptyBox);
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

// "Esci" ends the program from inside any wait, and nothing of the game runs after it.
TEST(Quit, EsciEndsEveryWaitAndNothingRunsAfterIt) {
    const std::pair<const char*, std::function<void(GameOnFakeWindow&)>> waits[] = {
        {"before the first game", [](GameOnFakeWindow& g) { g.fake.After(Ms{0}, [&g] { g.game.Form_Activate(); }); }},
        {"a new game's banner", [](GameOnFakeWindow& g) { g.fake.After(Ms{0}, [&g] { g.game.NuovaPartita(); }); }},
        {"play", [](GameOnFakeWindow& g) { g.StartGame(); }},
        {"pause", [](GameOnFakeWindow& g) { g.StartGame(), g.fake.After(Ms{0}, [&g] { g.game.PausaContinua(); }); }},
        {"a landing's banner", [](GameOnFakeWindow& g) { g.StartGame(), g.game.state.Punteggio = 112, g.PutPiece(2, 0, 5, 30); }},
        {"game over", [](GameOnFakeWindow& g) { g.StartGame(), g.PutPiece(1, 1, 7, 1), g.game.state.Campo(7, 5) = 1; }},
    };
    for (const auto& [what, into] : waits) {
        GameOnFakeWindow g;
        into(g);
        g.fake.After(Ms{500}, [&g] { g.game.Esci(); });
        EXPECT_TRUE(g.fake.RunFor(Ms{5000})) << what << ": every wait returned";
        EXPECT_EQ(g.fake.log.back(), "quit") << what;
        EXPECT_EQ(g.fake.callsAfterQuit, 0) << what;
    }
}

}  // namespace
}  // namespace tumblara::testing
