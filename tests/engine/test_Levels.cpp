// Levels: the threshold, the gravity interval and its 50 ms floor, the
// blinking banner and its pause, the emptied well, and the menu clicks that
// cut a pause short.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>

#include "tests/support/Board.h"

namespace tumblara::testing {
namespace {

using Ms = FakeWindow::Ms;

const std::vector<std::string> kEmptyWell(31, "................");
const std::vector<std::string> kEmptyBox(6, "......");

class Levels : public ::testing::Test, protected GameOnFakeWindow {
protected:
    void SetUp() override { StartGame(); }

    // Row 31 complete but for column 16, where an upright I lands now: one row goes.
    void LandOneRow() {
        game.state.Campo.Reset(1);
        SetBottomRows(game.state.Campo, {"....5....3......", "33333333.333333.", "###############."});
        ShowCampo();
        game.state.ColorePezzo = 1;
        PutPiece(1, 1, 16, 28);
        game.Timer1_Timer();
    }
    // Records f() at `after` from now, while whatever runs then is running.
    template <typename T>
    void Probe(Ms after, T& into, std::function<T()> f) {
        fake.After(after, [&into, f] { into = f(); });
    }
    std::size_t LogIndex(const std::string& line, std::size_t from = 0) const {
        const auto it = std::find(fake.log.begin() + static_cast<std::ptrdiff_t>(from), fake.log.end(), line);
        return static_cast<std::size_t>(it - fake.log.begin());
    }
};

TEST_F(Levels, EachChangeRaisesTheThresholdShortensGravityAndStopsAtFiftyMilliseconds) {
    struct Row {
        std::int32_t intervallo;
        const char* caption;
    };
    const std::vector<Row> table = {
        {250, "Level  1"}, {200, "Level  2"}, {150, "Level  3"}, {100, "Level  4"},
        {50, "Level  5"},  {50, "Level  6"},  {50, "Level  6"},  {50, "Level  6"},
    };
    for (std::size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE("change to " + std::string(table[i].caption));
        const std::int32_t soglia = game.state.SogliaLivello;
        game.state.Punteggio = soglia - 16;

        bool pausedInGioco = true;
        std::int32_t pausedTimer1 = 0, pausedTimer2 = 0;
        std::string pausedCaption;
        Probe<bool>(Ms{1000}, pausedInGioco, [this] { return game.state.InGioco; });
        Probe<std::int32_t>(Ms{1000}, pausedTimer1, [this] { return fake.Interval(TimerId::Timer1); });
        Probe<std::int32_t>(Ms{1000}, pausedTimer2, [this] { return fake.Interval(TimerId::Timer2); });
        Probe<std::string>(Ms{1000}, pausedCaption, [this] { return fake.Caption(LabelId::Label3); });
        fake.ClearLog();
        LandOneRow();

        EXPECT_FALSE(pausedInGioco) << "the game stands still during the banner";
        EXPECT_EQ(pausedTimer1, table[i].intervallo);
        EXPECT_EQ(pausedTimer2, 100);
        EXPECT_EQ(pausedCaption, table[i].caption);

        EXPECT_EQ(game.state.SogliaLivello, soglia + 100);
        EXPECT_EQ(game.state.Intervallo, table[i].intervallo);
        EXPECT_EQ(game.state.Punteggio, soglia) << "a change leaves the score alone";
        EXPECT_TRUE(game.state.InGioco);
        EXPECT_EQ(fake.Interval(TimerId::Timer1), table[i].intervallo);
        EXPECT_EQ(fake.Interval(TimerId::Timer2), 0);
        EXPECT_TRUE(fake.IsVisible(LabelId::Label3));
        EXPECT_EQ(fake.Caption(LabelId::Label3), table[i].caption);
        EXPECT_EQ(fake.CountInLog("sound Bonus2.wav"), 1);

        EXPECT_EQ(WellRows(game.state.Campo), kEmptyWell) << "the new level starts with an empty well";
        EXPECT_EQ(fake.ShownWell(), kEmptyWell);
        // Once the banner stops, the preview box is blacked before the next piece is shown in it.
        const std::size_t stop = LogIndex("timer2 0");
        const std::size_t box = LogIndex("fill 180,150 240,210 retained", stop);
        ASSERT_LT(stop, fake.log.size());
        ASSERT_LT(box + 1, fake.log.size());
        EXPECT_EQ(fake.log[box + 1], "fill 10,1 170,320 retained");
    }
}

TEST_F(Levels, OnlyALandingThatReachesTheThresholdChangesLevel) {
    game.state.Punteggio = 96;
    fake.ClearLog();
    PutPiece(2, 0, 5, 30);  // an O that completes no row
    game.Timer1_Timer();
    EXPECT_EQ(game.state.Punteggio, 96);
    EXPECT_EQ(game.state.Intervallo, 300);
    EXPECT_EQ(game.state.SogliaLivello, 100);
    EXPECT_EQ(fake.CountInLog("sound Bonus2.wav"), 0);

    fake.ClearLog();
    LandOneRow();  // 112 points
    EXPECT_EQ(game.state.Intervallo, 250);
    EXPECT_EQ(game.state.SogliaLivello, 200);
    EXPECT_EQ(fake.Caption(LabelId::Label3), "Level  1");
    EXPECT_EQ(fake.CountInLog("sound Bonus2.wav"), 1);
}

TEST_F(Levels, TheBannerBlinksEveryHundredMillisecondsAndHoldsThePieceStill) {
    game.state.Punteggio = 84;
    std::array<bool, 4> visible{};
    for (std::size_t i = 0; i < visible.size(); ++i)
        Probe<bool>(Ms{150 + 100 * static_cast<int>(i)}, visible[i], [this] { return fake.IsVisible(LabelId::Label3); });
    std::vector<std::pair<int, int>> during;
    Probe<std::vector<std::pair<int, int>>>(Ms{1200}, during, [this] { return PieceCells(); });
    fake.After(Ms{1100}, [this] { game.Muovi(true); game.Ruota(); game.Timer1_Timer(); });
    LandOneRow();

    EXPECT_NE(visible[0], visible[1]);
    EXPECT_NE(visible[1], visible[2]);
    EXPECT_NE(visible[2], visible[3]);
    for (const auto& cell : during) EXPECT_EQ(cell, (std::pair{0, -2})) << "the landed piece's sprites stay parked";
    EXPECT_EQ(WellRows(game.state.Campo), kEmptyWell);
}

TEST(LevelPause, LastsUntilTwoSecondsAfterTheNearestWholeSecondEvenAcrossMidnight) {
    struct Case {
        float timeOfDay;
        int milliseconds;
    };
    // The whole second is the nearest one, halves to even: 1.5 s .. 2.5 s.
    for (const Case c : {Case{1000.0f, 2000}, Case{1000.25f, 1750}, Case{1000.5f, 1500}, Case{1001.5f, 2500},
                         Case{1000.75f, 2250}, Case{86399.75f, 2250}, Case{86399.5f, 2500}, Case{86398.5f, 1500}}) {
        SCOPED_TRACE(::testing::Message() << "starting at " << c.timeOfDay << " s");
        GameOnFakeWindow g;
        g.fake.SetTimeOfDay(c.timeOfDay);
        bool before = true;
        bool after = false;
        g.fake.After(Ms{0}, [&g] { g.game.NuovaPartita(); });
        g.fake.After(Ms{c.milliseconds - 1}, [&] { before = g.game.state.InGioco; });
        g.fake.After(Ms{c.milliseconds + 1}, [&] { after = g.game.state.InGioco; });
        EXPECT_TRUE(g.fake.RunFor(Ms{3000}));
        EXPECT_FALSE(before);
        EXPECT_TRUE(after);
    }
}

TEST_F(Levels, ANewGameStartsAtLevelZeroWithAnEmptyPreviewAndGravityAtThreeHundred) {
    // A previous game left a preview and a piece of the well on the screen.
    game.state.TipoProssimo = 2;
    game.ProssimoPezzo();
    game.state.Campo(4, 31) = 3;
    ShowCampo();
    game.state.Punteggio = 500;

    fake.After(Ms{0}, [this] { game.NuovaPartita(); });
    bool blinking = false;
    Probe<bool>(Ms{1000}, blinking, [this] { return fake.Interval(TimerId::Timer2) == 100; });
    std::vector<std::pair<int, int>> early, late;
    Probe<std::vector<std::pair<int, int>>>(Ms{1}, early, [this] { return PieceCells(); });
    Probe<std::vector<std::pair<int, int>>>(Ms{1999}, late, [this] { return PieceCells(); });
    fake.SetTimeOfDay(3000.0f);
    EXPECT_TRUE(fake.RunFor(Ms{2001}));

    EXPECT_TRUE(blinking);
    EXPECT_EQ(early, late) << "the first piece waits at the top during the banner";
    EXPECT_TRUE(game.state.InGioco);
    EXPECT_EQ(fake.Caption(LabelId::Label3), "Level  0");
    EXPECT_EQ(fake.Caption(LabelId::Label2), "Score :  0");
    EXPECT_EQ(fake.Caption(LabelId::Menu1), "Pausa");
    EXPECT_EQ(fake.Interval(TimerId::Timer1), 300);
    EXPECT_EQ(game.state.SogliaLivello, 100);
    EXPECT_EQ(PreviewBox(), kEmptyBox);
    EXPECT_EQ(PreviewBox(true), kEmptyBox);
    fake.Repaint();
    EXPECT_EQ(fake.ShownWell(), kEmptyWell) << "the well is black in the retained background too";
}

TEST_F(Levels, ANewGameDuringALevelPauseEndsItWithoutASecondEmptying) {
    game.state.Punteggio = 84;
    fake.After(Ms{700}, [this] { game.NuovaPartita(); });
    bool stillPausedAfterOwnChangeStarted = true;
    Probe<bool>(Ms{2500}, stillPausedAfterOwnChangeStarted, [this] { return game.state.InGioco; });
    fake.ClearLog();
    LandOneRow();  // the level 1 banner; the new game comes in the middle of it

    EXPECT_FALSE(stillPausedAfterOwnChangeStarted) << "the new game's banner lasts its own two seconds";
    EXPECT_EQ(fake.CountInLog("fill 10,1 170,320 retained"), 1) << "the well is emptied once";
    EXPECT_EQ(fake.CountInLog("timer2 0"), 1);
    EXPECT_EQ(fake.CountInLog("sound Bonus2.wav"), 2);
    EXPECT_EQ(game.state.SogliaLivello, 100);
    EXPECT_EQ(game.state.Intervallo, 300);
    EXPECT_EQ(game.state.Punteggio, 0);
    EXPECT_TRUE(game.state.InGioco);
    EXPECT_EQ(fake.Caption(LabelId::Label3), "Level  0");
    EXPECT_TRUE(fake.IsVisible(LabelId::Label3));
    EXPECT_EQ(fake.Interval(TimerId::Timer1), 300);
    EXPECT_EQ(WellRows(game.state.Campo), kEmptyWell);
    // The interrupted landing goes on with its next piece, at the top of the new game's well.
    const auto cells = PieceCells();
    EXPECT_EQ(std::min_element(cells.begin(), cells.end(), [](auto a, auto b) { return a.second < b.second; })->second, 1);
}

TEST(LevelPauseCutShort, ANewGameDuringTheFirstBannerOfAGameRestartsTheBanner) {
    GameOnFakeWindow g;
    g.fake.SetTimeOfDay(500.0f);
    g.fake.After(Ms{0}, [&g] { g.game.NuovaPartita(); });
    g.fake.After(Ms{1000}, [&g] { g.game.NuovaPartita(); });
    bool at2500 = true;
    g.fake.After(Ms{2500}, [&] { at2500 = g.game.state.InGioco; });
    EXPECT_TRUE(g.fake.RunFor(Ms{3001}));
    EXPECT_FALSE(at2500) << "the second game's banner runs from its own start";
    EXPECT_TRUE(g.game.state.InGioco);
    EXPECT_EQ(g.fake.CountInLog("fill 10,1 170,320 retained"), 1);
    EXPECT_EQ(g.game.state.SogliaLivello, 100);
    EXPECT_EQ(g.game.state.Intervallo, 300);
}

TEST_F(Levels, ResumingFromAPauseDuringTheBannerEndsItWithTheBannerStillBlinking) {
    game.state.Punteggio = 84;
    fake.After(Ms{300}, [this] { game.PausaContinua(); });
    fake.After(Ms{600}, [this] { game.PausaContinua(); });
    LandOneRow();
    EXPECT_TRUE(game.state.InGioco);
    EXPECT_EQ(fake.Caption(LabelId::Menu1), "Pausa");
    EXPECT_EQ(fake.Interval(TimerId::Timer2), 100) << "the steps after the pause are skipped";
    EXPECT_EQ(BottomRows(game.state.Campo, 3), (std::vector<std::string>{
        "...............1",
        "....5....3.....1",
        "33333333.3333331",
    })) << "the well is not emptied";
}

TEST_F(Levels, ATickDeliveredTogetherWithTheResumeFindsNoPieceAndChangesNothing) {
    // During the banner the game is paused and resumed; the resume and a
    // gravity tick arrive together, before the landing's hand-over runs.
    game.state.Punteggio = 84;
    fake.After(Ms{100}, [this] { game.PausaContinua(); });
    fake.After(Ms{500}, [this] { game.PausaContinua(); });  // Timer1 at 250 ms ticks at 500 too
    fake.ClearLog();
    LandOneRow();
    const auto resumed = LogIndex("caption 1 Pausa");
    ASSERT_LT(resumed, fake.log.size());
    const auto step = LogIndex("sound Impact02.wav", resumed);
    const auto nextPreview = LogIndex("fill 180,150 240,210 retained", resumed);
    EXPECT_LT(nextPreview, step) << "no step down before the next piece exists";
    EXPECT_EQ(BottomRows(game.state.Campo, 3)[0], "...............1");
}

TEST_F(Levels, EsciDuringTheBannerEndsTheProgramWithoutTheHandOver) {
    game.state.Punteggio = 84;
    const std::int16_t prossimo = game.state.TipoProssimo;
    fake.After(Ms{500}, [this] { game.Esci(); });
    fake.ClearLog();
    LandOneRow();
    ASSERT_TRUE(fake.Quitting());
    EXPECT_EQ(fake.log.back(), "quit") << "nothing happens after the program starts ending";
    EXPECT_EQ(game.state.TipoPezzo, 1) << "no hand-over";
    EXPECT_EQ(game.state.TipoProssimo, prossimo) << "no next piece chosen";
    EXPECT_EQ(PieceCells()[0], (std::pair{0, -2}));
    EXPECT_EQ(BottomRows(game.state.Campo, 1)[0], "33333333.3333331") << "the well is not emptied";
}

TEST(Esci, EndsThePauseAndTheGameOverWaits) {
    {
        GameOnFakeWindow g;
        g.StartGame();
        g.fake.After(Ms{10}, [&g] { g.game.PausaContinua(); });
        g.fake.After(Ms{500}, [&g] { g.game.Esci(); });
        EXPECT_TRUE(g.fake.RunFor(Ms{1000})) << "the pause wait returned";
        EXPECT_TRUE(g.fake.Quitting());
    }
    {
        GameOnFakeWindow g;
        g.fake.After(Ms{0}, [&g] { g.game.Form_Activate(); });
        g.fake.After(Ms{700}, [&g] { g.game.Esci(); });
        EXPECT_TRUE(g.fake.RunFor(Ms{1000})) << "the game-over wait returned";
        EXPECT_TRUE(g.fake.Quitting());
        EXPECT_EQ(g.fake.log.back(), "quit");
    }
}

}  // namespace
}  // namespace tumblara::testing
