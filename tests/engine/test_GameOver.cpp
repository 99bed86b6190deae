// The end of a game and the pause: the waits that only the menu ends,
// and what each leaves on the screen.

#include <gtest/gtest.h>

#include "tests/support/Board.h"

namespace tumblara::testing {
namespace {

constexpr const char* kEmptyBox = "....../....../....../....../....../......";

class EndOfGame : public ::testing::Test, protected GameOnFakeWindow {
protected:
    void SetUp() override {
        StartGame();
        // A score and a preview to keep, a pile in column 7 up to row 5 and an upright I above it in rows 1..4.
        game.state.Punteggio = 16;
        fake.SetCaption(LabelId::Label2, "Score :  16");
        game.ProssimoPezzo();
        for (int r = 5; r <= 31; ++r) game.state.Campo(7, r) = 2;
        ShowCampo();
        PutPiece(1, 1, 7, 1);
        fake.ClearLog();
        fake.After(Ms{0}, [this] { game.Timer1_Timer(); });  // the tick that finds the I unable to fall
    }
};

TEST_F(EndOfGame, LeavesTheWellThePieceAndTheScoreLabelAndBlinksGameOverOverABlankedPreview) {
    const Well campo = game.state.Campo;
    const Cells piece = PieceCells();
    const std::string preview = PreviewBox();
    ASSERT_NE(preview, kEmptyBox);
    game.state.TastoPremuto = game.state.CadutaPremuta = true;
    EXPECT_FALSE(fake.RunFor(Ms{2000})) << "the game-over wait is still going on";
    EXPECT_FALSE(game.state.InGioco || game.state.TastoPremuto || game.state.CadutaPremuta) << "play and key latches stop";
    EXPECT_EQ(game.state.Punteggio, 0);
    EXPECT_EQ(fake.Caption(LabelId::Label2), "Score :  16") << "the final score stays on show";
    EXPECT_EQ(game.state.Campo, campo);
    EXPECT_EQ(PieceCells(), piece) << "the piece that did not fit stays where it stopped";
    EXPECT_EQ(fake.Caption(LabelId::Label3), "Game Over");
    EXPECT_EQ(fake.Interval(TimerId::Timer2), 500);
    EXPECT_EQ(PreviewBox(), kEmptyBox) << "the preview is blanked on the window only";
    fake.Repaint();
    EXPECT_EQ(PreviewBox(), preview) << "a repaint brings the last preview back";
}

TEST_F(EndOfGame, PausaAndContinuaResumeTheEndedGameWhichEndsAgainOnTheNextTick) {
    fake.After(Ms{100}, [this] { game.PausaContinua(); });  // "Pausa" is not ignored after a game
    fake.After(Ms{200}, [this] { game.PausaContinua(); });  // "Continua"
    std::pair<bool, int> resumed;
    fake.After(Ms{201}, [&] { resumed = {game.state.InGioco, fake.CountInLog("caption 6 Game Over")}; });
    const Cells piece = PieceCells();
    fake.RunFor(Ms{600});  // Timer1 ticks within 300 ms of the resume
    EXPECT_EQ(resumed, std::pair(true, 1));
    EXPECT_EQ(fake.CountInLog("caption 6 Game Over"), 2);
    EXPECT_FALSE(game.state.InGioco);
    EXPECT_EQ(PieceCells(), piece);
    EXPECT_EQ(fake.CountInLog("sound Impact02.wav"), 0) << "the piece never fell";
}

TEST_F(EndOfGame, ANewGameEndsTheWaitAndNothingOfTheEndedTickFollows) {
    fake.After(Ms{100}, [this] { game.NuovaPartita(); });
    EXPECT_TRUE(fake.RunFor(Ms{2700})) << "every wait has returned";
    EXPECT_TRUE(game.state.InGioco);
    EXPECT_EQ(fake.Caption(LabelId::Label3), "Level  0");
    // The ended tick neither settled its piece nor chose and previewed a next one.
    EXPECT_EQ(PreviewBox(), kEmptyBox);
    EXPECT_EQ(fake.CountInLog("paint"), 0);
}

TEST(Pause, HoldsThePieceUntilContinuaOrANewGameEndsIt) {
    for (const bool continua : {true, false}) {
        GameOnFakeWindow g;
        g.StartGame();
        g.PutPiece(2, 0, 5, 10);
        g.fake.After(Ms{0}, [&g] { g.game.PausaContinua(); });
        Cells held;
        g.fake.After(Ms{1900}, [&] { held = g.PieceCells(); });
        g.fake.After(Ms{2000}, [&] { continua ? g.game.PausaContinua() : g.game.NuovaPartita(); });
        EXPECT_TRUE(g.fake.RunFor(Ms{continua ? 2000 : 4600})) << "the pause wait returned";
        EXPECT_EQ(held, DrawnCells("12/34", 5, 10));
        EXPECT_TRUE(g.game.state.InGioco);
        EXPECT_EQ(g.fake.Caption(LabelId::Menu1), "Pausa") << (continua ? "Continua" : "Nuova Partita");
        if (!continua) continue;
        g.fake.ClearLog();
        g.fake.RunFor(Ms{300});
        EXPECT_EQ(g.PieceCells(), DrawnCells("12/34", 5, 11)) << "gravity goes on, a row a tick";
        EXPECT_EQ(g.fake.log, std::vector<std::string>{"sound Impact02.wav"}) << "with the step sound";
    }
}

}  // namespace
}  // namespace tumblara::testing
