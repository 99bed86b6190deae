// The end of a game and the pause: the two waits that only the menu ends, and
// what each leaves on the screen.

#include <gtest/gtest.h>

#include "tests/support/Board.h"

namespace tumblara::testing {
namespace {

using Ms = FakeWindow::Ms;

const std::vector<std::string> kEmptyWell(31, "................");
const std::vector<std::string> kEmptyBox(6, "......");

class EndOfGame : public ::testing::Test, protected GameOnFakeWindow {
protected:
    void SetUp() override {
        StartGame();
        // One row removed and a next piece previewed: a score and a preview to keep.
        game.state.Campo.Reset(1);
        SetBottomRows(game.state.Campo, {"###############."});
        PutPiece(1, 1, 16, 28);
        game.Timer1_Timer();
        // A pile in column 7 up to row 5, and an upright I above it in rows 1..4.
        for (int r = 5; r <= 31; ++r) game.state.Campo(7, r) = 2;
        ShowCampo();
        PutPiece(1, 1, 7, 1);
        fake.ClearLog();
    }
    // The tick that finds the I unable to fall, as an event at `at` from now.
    void TickAt(Ms at) {
        fake.After(at, [this] { game.Timer1_Timer(); });
    }
};

TEST_F(EndOfGame, LeavesTheWellTheScoreLabelAndThePieceAndBlinksGameOver) {
    const Well campo = game.state.Campo;
    const std::vector<std::string> shown = fake.ShownWell();
    const std::vector<std::string> preview = PreviewBox();
    ASSERT_NE(preview, kEmptyBox);
    const auto piece = PieceCells();
    const GameState before = game.state;
    game.state.TastoPremuto = true;
    game.state.CadutaPremuta = true;

    std::array<bool, 4> visible{};
    for (std::size_t i = 0; i < visible.size(); ++i)
        fake.After(Ms{250 + 500 * static_cast<int>(i)}, [this, &visible, i] { visible[i] = fake.IsVisible(LabelId::Label3); });
    TickAt(Ms{0});
    EXPECT_FALSE(fake.RunFor(Ms{2000})) << "the game-over wait is still going on";

    EXPECT_FALSE(game.state.InGioco);
    EXPECT_FALSE(game.state.TastoPremuto);
    EXPECT_FALSE(game.state.CadutaPremuta);
    EXPECT_EQ(game.state.Punteggio, 0);
    EXPECT_EQ(fake.Caption(LabelId::Label2), "Score :  16") << "the final score stays on show";
    EXPECT_EQ(game.state.SogliaLivello, before.SogliaLivello);
    EXPECT_EQ(game.state.Intervallo, before.Intervallo);
    EXPECT_EQ(game.state.Campo, campo);
    EXPECT_EQ(fake.ShownWell(), shown);
    EXPECT_EQ(PieceCells(), piece) << "the piece that did not fit stays where it stopped";

    EXPECT_EQ(fake.Caption(LabelId::Label3), "Game Over");
    EXPECT_EQ(fake.Interval(TimerId::Timer2), 500);
    EXPECT_EQ(visible, (std::array<bool, 4>{true, false, true, false}));

    EXPECT_EQ(PreviewBox(), kEmptyBox) << "the preview is blanked on the window";
    EXPECT_EQ(PreviewBox(true), preview);
    fake.Repaint();
    EXPECT_EQ(PreviewBox(), preview) << "a repaint brings the last preview back";
}

TEST_F(EndOfGame, ContinuaResumesTheEndedGameWhichEndsAgainOnTheNextTick) {
    bool pausedInGioco = true;
    std::string pausedCaption;
    bool resumed = false;
    int gameOversBeforeNextTick = 0;
    int gameOversAfterNextTick = 0;
    TickAt(Ms{0});
    fake.After(Ms{100}, [this] { game.PausaContinua(); });  // "Pausa" is not ignored after a game
    fake.After(Ms{150}, [&] { pausedInGioco = game.state.InGioco; pausedCaption = fake.Caption(LabelId::Menu1); });
    fake.After(Ms{200}, [this] { game.PausaContinua(); });  // "Continua"
    fake.After(Ms{201}, [&] {
        resumed = game.state.InGioco;
        gameOversBeforeNextTick = fake.CountInLog("caption 6 Game Over");
    });
    // Timer1 ticks every 300 ms: the next one comes within 300 ms of the resume.
    fake.After(Ms{501}, [&] { gameOversAfterNextTick = fake.CountInLog("caption 6 Game Over"); });
    const auto piece = PieceCells();
    fake.RunFor(Ms{600});

    EXPECT_FALSE(pausedInGioco);
    EXPECT_EQ(pausedCaption, "Continua");
    EXPECT_TRUE(resumed);
    EXPECT_EQ(gameOversBeforeNextTick, 1);
    EXPECT_EQ(gameOversAfterNextTick, 2);
    EXPECT_FALSE(game.state.InGioco);
    EXPECT_EQ(fake.Caption(LabelId::Menu1), "Pausa");
    EXPECT_EQ(PieceCells(), piece);
    EXPECT_EQ(fake.CountInLog("sound Impact02.wav"), 0) << "the piece never fell";
}

TEST_F(EndOfGame, ANewGameEndsTheWaitAndNothingOfTheEndedTickFollows) {
    TickAt(Ms{0});
    fake.After(Ms{100}, [this] { game.NuovaPartita(); });
    EXPECT_TRUE(fake.RunFor(Ms{2700})) << "every wait has returned";
    EXPECT_TRUE(game.state.InGioco);
    EXPECT_EQ(WellRows(game.state.Campo), kEmptyWell);
    EXPECT_EQ(fake.ShownWell(), kEmptyWell);
    EXPECT_EQ(fake.Caption(LabelId::Label2), "Score :  0");
    EXPECT_EQ(fake.Caption(LabelId::Label3), "Level  0");
    EXPECT_EQ(fake.Interval(TimerId::Timer2), 0);
    EXPECT_TRUE(fake.IsVisible(LabelId::Label3));
    // The ended tick neither settled its piece nor chose and previewed a next one.
    EXPECT_EQ(PreviewBox(), kEmptyBox);
    EXPECT_EQ(fake.CountInLog("paint"), 0);
}

TEST(Pause, IsIgnoredBeforeTheFirstGame) {
    GameOnFakeWindow g;
    g.fake.After(Ms{0}, [&g] { g.game.PausaContinua(); });
    EXPECT_TRUE(g.fake.RunFor(Ms{100})) << "no wait was entered";
    EXPECT_EQ(g.fake.Caption(LabelId::Menu1), "Pausa");
}

TEST(Pause, HoldsThePieceAndContinuaResumesItWhereItWas) {
    GameOnFakeWindow g;
    g.StartGame();
    g.PutPiece(2, 0, 5, 10);
    g.fake.After(Ms{0}, [&g] { g.game.PausaContinua(); });
    std::vector<std::pair<int, int>> held;
    g.fake.After(Ms{1900}, [&] { held = g.PieceCells(); });
    g.fake.After(Ms{2000}, [&g] { g.game.PausaContinua(); });
    EXPECT_TRUE(g.fake.RunFor(Ms{2000}));
    EXPECT_EQ(held[0], (std::pair{5, 10}));
    EXPECT_TRUE(g.game.state.InGioco);
    EXPECT_EQ(g.fake.Caption(LabelId::Menu1), "Pausa");
    g.fake.RunFor(Ms{300});
    EXPECT_EQ(g.PieceCells()[0], (std::pair{5, 11})) << "gravity goes on from where it stopped";
}

TEST(Pause, ANewGameWhilePausedEndsThePauseWithCaptionPausa) {
    GameOnFakeWindow g;
    g.StartGame();
    g.game.state.Campo(3, 31) = 4;
    g.fake.After(Ms{0}, [&g] { g.game.PausaContinua(); });
    g.fake.After(Ms{500}, [&g] { g.game.NuovaPartita(); });
    EXPECT_TRUE(g.fake.RunFor(Ms{3100})) << "the pause wait returned";
    EXPECT_EQ(g.fake.Caption(LabelId::Menu1), "Pausa");
    EXPECT_TRUE(g.game.state.InGioco);
    EXPECT_EQ(g.game.state.Campo(3, 31), 0);
}

}  // namespace
}  // namespace tumblara::testing
