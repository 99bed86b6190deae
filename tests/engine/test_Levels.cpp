// Levels: the threshold, the gravity interval and its 50 ms floor, the
// blinking banner and its pause, the emptied well, and the menu clicks that
// cut the pause short.

#include <gtest/gtest.h>

#include "tests/support/Board.h"

namespace tumblara::testing {
namespace {

const std::vector<std::string> kEmptyWell(31, "................");

class Levels : public ::testing::Test, protected GameOnFakeWindow {
protected:
    void SetUp() override { StartGame(); }
    // Row 31 complete but for column 16, where an upright I lands now: one row goes.
    void LandOneRow(std::int32_t scoreBefore) {
        game.state.Punteggio = scoreBefore;
        game.state.Campo.Reset(1);
        SetBottomRows(game.state.Campo, {"....5....3......", "33333333.333333.", "###############."});
        ShowCampo();
        game.state.ColorePezzo = 1;
        PutPiece(1, 1, 16, 28);
        fake.ClearLog();
        game.Timer1_Timer();
    }
};

TEST_F(Levels, EachChangeRaisesTheThresholdByAHundredAndShortensGravityDownToFiftyMilliseconds) {
    LandOneRow(80);  // 96: short of the threshold
    EXPECT_EQ(game.state.Intervallo, 300);
    EXPECT_EQ(fake.CountInLog("sound Bonus2.wav"), 0);
    const std::pair<std::int32_t, const char*> table[] = {{250, "Level  1"}, {200, "Level  2"}, {150, "Level  3"},
                                                          {100, "Level  4"}, {50, "Level  5"},  {50, "Level  6"},
                                                          {50, "Level  6"}};
    for (const auto& [intervallo, caption] : table) {
        SCOPED_TRACE(caption);
        const std::int32_t soglia = game.state.SogliaLivello;
        std::pair<std::int32_t, std::int32_t> timers;
        fake.After(Ms{1000}, [&] { timers = {fake.Interval(TimerId::Timer1), fake.Interval(TimerId::Timer2)}; });
        LandOneRow(soglia - 16);
        EXPECT_EQ(timers, std::pair(intervallo, 100)) << "during the banner: the new gravity, and blinking";
        EXPECT_EQ(game.state.SogliaLivello, soglia + 100);
        EXPECT_EQ(game.state.Punteggio, soglia) << "the score runs on";
        EXPECT_EQ(fake.Caption(LabelId::Label3), caption);
        EXPECT_EQ(fake.Interval(TimerId::Timer2), 0);
        EXPECT_EQ(fake.CountInLog("sound Bonus2.wav"), 1);
        EXPECT_EQ(WellRows(game.state.Campo), kEmptyWell);
        fake.Repaint();
        EXPECT_EQ(fake.ShownWell(), kEmptyWell) << "the well is black in the retained background";
    }
}

TEST_F(Levels, ANewGameBlinksLevelZeroOverABlackWellAndAnEmptyPreviewWhileItsFirstPieceWaits) {
    // The game before left a preview, blocks in the well, its score on show and the banner blinked off.
    game.state.TipoProssimo = 2;
    game.ProssimoPezzo();
    game.state.Campo(4, 31) = 3;
    ShowCampo();
    fake.SetCaption(LabelId::Label2, "Score :  48");
    fake.SetVisible(LabelId::Label3, false);
    fake.SetTimeOfDay(3000.0f);
    fake.After(Ms{0}, [this] { game.NuovaPartita(); });
    std::vector<bool> visible;
    std::vector<Cells> piece;
    std::vector<std::string> shown;
    fake.After(Ms{1}, [&] { piece.push_back(PieceCells()); });
    fake.After(Ms{150}, [&] { visible.push_back(fake.IsVisible(LabelId::Label3)); });
    fake.After(Ms{250}, [&] { visible.push_back(fake.IsVisible(LabelId::Label3)), shown = fake.ShownWell(); });
    fake.After(Ms{1999}, [&] { piece.push_back(PieceCells()); });
    EXPECT_TRUE(fake.RunFor(Ms{2001}));
    EXPECT_NE(visible[0], visible[1]) << "the banner blinks";
    EXPECT_TRUE(fake.IsVisible(LabelId::Label3)) << "and stays on once it stops";
    EXPECT_EQ(shown, kEmptyWell) << "the window's well is blacked at once";
    EXPECT_EQ(piece[0], piece[1]) << "the first piece waits at the top during the banner";
    EXPECT_EQ(fake.Caption(LabelId::Label2), "Score :  0");
    EXPECT_EQ(fake.Interval(TimerId::Timer1), 300);
    EXPECT_EQ(PreviewBox(true), "....../....../....../....../....../......");
    fake.Repaint();
    EXPECT_EQ(fake.ShownWell(), kEmptyWell);
}

TEST(LevelPause, LastsUntilTwoSecondsAfterTheNearestWholeSecondEvenAcrossMidnight) {
    // The nearest whole second, halves to even: 1.5 s to 2.5 s.
    const std::pair<float, int> cases[] = {{1000.0f, 2000},   {1000.25f, 1750},  {1000.5f, 1500},  {1001.5f, 2500},
                                           {1000.75f, 2250}, {86399.75f, 2250}, {86399.5f, 2500}, {86398.5f, 1500}};
    for (const auto& [timeOfDay, milliseconds] : cases) {
        GameOnFakeWindow g;
        g.fake.SetTimeOfDay(timeOfDay);
        bool before = true, after = false;
        g.fake.After(Ms{0}, [&g] { g.game.NuovaPartita(); });
        g.fake.After(Ms{milliseconds - 1}, [&] { before = g.game.state.InGioco; });
        g.fake.After(Ms{milliseconds + 1}, [&] { after = g.game.state.InGioco; });
        EXPECT_TRUE(g.fake.RunFor(Ms{3000})) << timeOfDay;
        EXPECT_TRUE(!before && after) << "starting at " << timeOfDay << " s";
    }
}

TEST_F(Levels, ANewGameDuringALevelPauseEndsItWithoutASecondEmptyingAndRunsItsOwnBanner) {
    fake.After(Ms{700}, [this] { game.NuovaPartita(); });
    bool playingAt2500 = true;
    fake.After(Ms{2500}, [&] { playingAt2500 = game.state.InGioco; });
    LandOneRow(84);  // the level 1 banner; the new game comes in the middle of it
    EXPECT_FALSE(playingAt2500) << "the new game's banner lasts its own two seconds";
    EXPECT_EQ(fake.CountInLog("fill 10,1 170,320 retained"), 1) << "the well is emptied once";
    EXPECT_EQ(fake.CountInLog("timer2 0"), 1);
    EXPECT_EQ(game.state.SogliaLivello, 100);
    EXPECT_EQ(game.state.Intervallo, 300);
    EXPECT_TRUE(game.state.InGioco);
}

TEST_F(Levels, APauseHoldsTheBannerAndTheResumeEndsItAsItStandsWithNoPieceForTheTickThatComesWithIt) {
    // The banner would end after 2 s. Level 1 ticks every 250 ms: the resume at
    // 2750 ms comes together with a tick, before the hand-over has placed the next piece.
    fake.After(Ms{100}, [this] { game.PausaContinua(); });
    fake.After(Ms{2750}, [this] { game.PausaContinua(); });
    LandOneRow(84);
    EXPECT_TRUE(game.state.InGioco);
    EXPECT_EQ(fake.Caption(LabelId::Menu1), "Pausa");
    EXPECT_EQ(fake.Interval(TimerId::Timer2), 100) << "the banner's last steps never run";
    EXPECT_EQ(BottomRows(game.state.Campo, 2), TextRows("....5....3.....1/33333333.3333331")) << "nor is the well emptied";
    EXPECT_EQ(fake.CountInLog("sound Impact02.wav"), 0);
}

}  // namespace
}  // namespace tumblara::testing
