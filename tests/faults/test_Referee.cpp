// The referee that judges every fuzz run must see each kind of damage the
// fuzzer hunts for. Each test plants one fault in a running game and expects
// the referee to name it; an untouched game must pass.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Game.h"
#include "engine/Shapes.h"
#include "fuzz/FuzzWindow.h"
#include "fuzz/Referee.h"

namespace tumblara::fuzz {
namespace {

using Ms = FuzzWindow::Ms;
constexpr int kCella = 10;

class RefereeSees : public ::testing::Test {
protected:
    Referee referee;
    FuzzWindow window{kCella, 43200.0f, referee};  // noon: the first banner lasts 2 s
    Game game{window};
    std::vector<std::string> broken;

    void SetUp() override {
        game.state.Cella = kCella;
        referee.Attach(game, window);
        referee.onViolation = [this](const std::string& what) { broken.push_back(what); };
        window.onTimer1 = [this] {
            const auto before = referee.BeforeTick();
            game.Timer1_Timer();
            referee.AfterTick(before);
            referee.Check();
        };
        window.onTimer2 = [this] {
            game.Timer2_Timer();
            referee.Check();
        };
    }

    void RunFor(int ms) { window.Run(window.Now() + Ms{ms}); }

    void StartGame() {
        window.At(window.Now(), [this] {
            referee.NewGameClicked();
            game.NuovaPartita();
            referee.Check();
        });
        RunFor(2100);
        ASSERT_TRUE(game.state.InGioco) << "the first banner is over";
        ASSERT_TRUE(broken.empty()) << broken.front();
    }

    // Puts the falling piece (shape tipo, rotation rot) with block 1 at (x, y).
    void PutPiece(std::int16_t tipo, std::int16_t rot, int x, int y) {
        game.state.TipoPezzo = tipo;
        game.state.RotPezzo = rot;
        const ShapeOffsets& f = Forma(tipo, rot);
        for (int k = 1; k <= 4; ++k) {
            const Offset& o = f[static_cast<std::size_t>(k - 1)];
            window.MoveSprite(k, static_cast<float>((x + o.dc) * kCella), static_cast<float>((y + o.dr) * kCella));
        }
    }

    bool Saw(const std::string& fragment) const {
        for (const std::string& b : broken)
            if (b.find(fragment) != std::string::npos) return true;
        return false;
    }

    std::string All() const {
        std::string all;
        for (const std::string& b : broken) all += b + "\n";
        return all;
    }
};

TEST_F(RefereeSees, NothingWrongInAGameThatRemovesARowAndEnds) {
    StartGame();
    for (int c = 1; c <= 16; ++c)
        if (c != 9) game.state.Campo(c, 31) = 2;
    PutPiece(1, 1, 9, 20);  // an upright I over the hole
    RunFor(3000);
    EXPECT_EQ(referee.RowsRemoved(), 1);
    EXPECT_EQ(game.state.Punteggio, 16);

    // A pile up to row 5 in column 7 and an upright I above it: game over.
    for (int r = 5; r <= 31; ++r) game.state.Campo(7, r) = 3;
    PutPiece(1, 1, 7, 1);
    RunFor(400);
    EXPECT_FALSE(game.state.InGioco);
    EXPECT_TRUE(broken.empty()) << All();
}

TEST_F(RefereeSees, ADamagedWell) {
    StartGame();
    game.state.Campo(5, 32) = 0;
    referee.Check();
    EXPECT_TRUE(Saw("floor cell (5,32) is empty")) << All();

    broken.clear();
    game.state.Campo(5, 32) = 1;
    game.state.Campo(3, 2) = 4;
    referee.Check();
    EXPECT_TRUE(Saw("entry row cell (3,2)")) << All();

    broken.clear();
    game.state.Campo(3, 2) = 0;
    game.state.Campo(8, 20) = 9;
    referee.Check();
    EXPECT_TRUE(Saw("cell (8,20) holds 9")) << All();
}

TEST_F(RefereeSees, AScoreOrALevelThatDoesNotFollowTheRows) {
    StartGame();
    game.state.Punteggio += 16;  // a point with no removed row
    referee.Check();
    EXPECT_TRUE(Saw("score 16 after 0 removed rows")) << All();

    broken.clear();
    game.state.Punteggio = 0;
    game.state.Intervallo = 250;  // level 1's speed at level 0
    referee.Check();
    EXPECT_TRUE(Saw("interval 250 after 1 level changes")) << All();

    broken.clear();
    game.state.Intervallo = 300;
    game.state.SogliaLivello = 200;
    referee.Check();
    EXPECT_TRUE(Saw("threshold 200")) << All();
}

TEST_F(RefereeSees, ARowSoundWithoutAFullRowAndAFullRowLeftBehind) {
    StartGame();
    window.PlaySound("Bonus1.wav");
    EXPECT_TRUE(Saw("the row sound with no full row")) << All();

    // A tick that leaves a full row in a well that had none.
    broken.clear();
    window.onTimer1 = [this] {
        const auto before = referee.BeforeTick();
        for (int c = 1; c <= 16; ++c) game.state.Campo(c, 25) = 5;
        referee.AfterTick(before);
    };
    RunFor(300);
    EXPECT_TRUE(Saw("a completed row was left")) << All();
}

TEST_F(RefereeSees, AFastDropThatOutlivesItsLanding) {
    StartGame();
    // A tick that lands a piece but leaves the gravity timer at the drop's pace.
    window.onTimer1 = [this] {
        const auto before = referee.BeforeTick();
        game.state.Campo(4, 31) = 2;
        window.SetTimerInterval(TimerId::Timer1, 20);
        referee.AfterTick(before);
    };
    RunFor(300);
    EXPECT_TRUE(Saw("the next piece falls every 20 ms at a level interval of 300")) << All();
}

TEST_F(RefereeSees, APieceOffTheGridOutOfTheWellOrOutOfShape) {
    StartGame();
    PutPiece(2, 0, 16, 10);  // an O reaching column 17
    referee.Check();
    EXPECT_TRUE(Saw("left the well")) << All();

    broken.clear();
    PutPiece(2, 0, 5, 10);
    window.MoveSprite(3, 5.5f * kCella, 11.0f * kCella);  // half a cell off
    referee.Check();
    EXPECT_TRUE(Saw("left the well or the cell grid")) << All();

    broken.clear();
    PutPiece(7, 2, 5, 10);
    window.MoveSprite(4, 9.0f * kCella, 11.0f * kCella);  // a T with a stray block
    referee.Check();
    EXPECT_TRUE(Saw("block 4 is out of the shape of piece 7")) << All();

    broken.clear();
    PutPiece(1, 0, 13, 31);
    referee.Check();
    EXPECT_TRUE(broken.empty()) << "a flat I on row 31 at the right wall is in the well: " << All();
}

TEST_F(RefereeSees, AStepDownWhilePausedOrOntoABlock) {
    StartGame();
    PutPiece(2, 0, 5, 10);
    game.state.Campo(6, 12) = 1;
    window.PlaySound("Impact02.wav");
    EXPECT_TRUE(Saw("a step down onto (6,12)")) << All();

    broken.clear();
    game.state.Campo(6, 12) = 0;
    game.state.InGioco = false;
    window.PlaySound("Impact02.wav");
    EXPECT_TRUE(Saw("a step down while play is stopped")) << All();
}

TEST_F(RefereeSees, ASidewaysMoveOntoASettledBlock) {
    StartGame();
    PutPiece(2, 0, 5, 10);
    game.state.Campo(7, 11) = 3;
    auto before = referee.BeforeKey();
    game.Muovi(true);  // refused: (7,11) is taken
    referee.AfterKey(before);
    EXPECT_TRUE(broken.empty()) << All();

    before = referee.BeforeKey();
    for (int k = 1; k <= 4; ++k) window.MoveSprite(k, window.SpriteLeft(k) + kCella, window.SpriteTop(k));
    referee.AfterKey(before);
    EXPECT_TRUE(Saw("a sideways move onto (7,11)")) << All();
}

TEST_F(RefereeSees, DrawingOutsideTheWellAndThePreview) {
    StartGame();
    window.SetRetainedBackground(true);
    window.PaintPicture(3, 5 * kCella, 32 * kCella, kCella);  // into the floor
    EXPECT_TRUE(Saw("outside the well and the preview")) << All();

    broken.clear();
    window.PaintPicture(3, 5 * kCella, 20 * kCella, kCella + 1);  // the wrong size
    window.PaintPicture(0, 5 * kCella, 20 * kCella, kCella);      // no such picture
    EXPECT_EQ(broken.size(), 2u) << All();

    broken.clear();
    window.FillBlack(0, 0, 48 * kCella, 34 * kCella);  // the whole window
    EXPECT_TRUE(Saw("neither a well cell")) << All();

    broken.clear();
    window.SetRetainedBackground(false);
    window.PaintPicture(3, 5 * kCella, 20 * kCella, kCella);  // lost at the next repaint
    EXPECT_FALSE(broken.empty());

    broken.clear();
    window.SetRetainedBackground(true);
    window.PaintPicture(3, 21 * kCella, 18 * kCella, kCella);  // a preview cell
    window.FillBlack(5 * kCella, 20 * kCella, 6 * kCella - 1, 21 * kCella - 1);  // one well cell
    EXPECT_TRUE(broken.empty()) << All();
}

TEST_F(RefereeSees, LabelsAndTimersThatDisagreeWithTheGame) {
    StartGame();
    window.SetCaption(LabelId::Label2, "Score :  32");
    window.SetCaption(LabelId::Label3, "Level  3");
    window.SetCaption(LabelId::Menu1, "Continua");  // while the game runs
    window.SetTimerInterval(TimerId::Timer1, 0);
    window.SetTimerInterval(TimerId::Timer2, 250);
    referee.Check();
    EXPECT_TRUE(Saw("score label")) << All();
    EXPECT_TRUE(Saw("banner \"Level  3\" after 1 level changes")) << All();
    EXPECT_TRUE(Saw("the game runs while the menu offers \"Continua\"")) << All();
    EXPECT_TRUE(Saw("gravity interval 0")) << All();
    EXPECT_TRUE(Saw("blink interval 250")) << All();
}

TEST_F(RefereeSees, AnyEffectAfterTheProgramEnded) {
    StartGame();
    game.Esci();
    EXPECT_TRUE(broken.empty()) << All();
    window.MoveSprite(1, 0.0f, 0.0f);
    window.PlaySound("Impact02.wav");
    EXPECT_TRUE(Saw("MoveSprite after the program ended")) << All();
    EXPECT_TRUE(Saw("PlaySound after the program ended")) << All();
}

TEST_F(RefereeSees, AWaitThatSpinsWithoutTimePassing) {
    window.At(Ms{10}, [this] {
        for (;;) window.WaitForEvents(Ms{0});
    });
    RunFor(1000);
    EXPECT_TRUE(Saw("a wait spins without time passing")) << All();
}

}  // namespace
}  // namespace tumblara::fuzz
