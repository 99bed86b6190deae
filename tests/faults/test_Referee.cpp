// The referee that judges every fuzz run must see each kind of damage the
// fuzzer hunts for: one fault planted in a running game per rule it checks,
// and an untouched game that must pass.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fuzz/RefereedGame.h"
#include "tests/support/Board.h"

namespace tumblara::fuzz {
namespace {

using Ms = FuzzWindow::Ms;
constexpr int kCella = 10;

// A game whose first banner is over, every broken rule collected.
struct Watched : RefereedGame {
    std::vector<std::string> broken;

    Watched() : RefereedGame(kCella, 43200.0) {  // noon: the first banner lasts 2 s
        referee.onViolation = [this](const std::string& what) { broken.push_back(what); };
        window.At(Ms{0}, [this] {
            NewGame();
            referee.Check();
        });
        RunFor(2100);
    }

    void RunFor(int ms) { window.Run(window.Now() + Ms{ms}); }

    void PutPiece(std::int16_t tipo, std::int16_t rot, int x, int y) { testing::PutPiece(game, window, tipo, rot, x, y); }

    // A gravity tick replaced by `damage`, bracketed as the fuzzer brackets ticks.
    void DamagingTick(std::function<void()> damage) {
        window.onTimer1 = [this, damage] {
            const auto before = referee.BeforeTick();
            damage();
            referee.AfterTick(before);
        };
        RunFor(300);
    }

    std::string All() const {
        std::string all;
        for (const std::string& b : broken) all += b + "\n";
        return all;
    }
};

TEST(RefereeSees, NothingWrongInAGameThatRemovesARowAndEnds) {
    Watched w;
    ASSERT_TRUE(w.game.state.InGioco);
    for (int c = 1; c <= 16; ++c)
        if (c != 9) w.game.state.Campo(c, 31) = 2;
    w.PutPiece(1, 1, 9, 20);  // an upright I over the hole
    w.RunFor(3000);
    EXPECT_EQ(w.referee.RowsRemoved(), 1);
    EXPECT_EQ(w.game.state.Punteggio, 16);

    // A pile up to row 5 in column 7 and an upright I above it: game over.
    for (int r = 5; r <= 31; ++r) w.game.state.Campo(7, r) = 3;
    w.PutPiece(1, 1, 7, 1);
    w.RunFor(400);
    EXPECT_FALSE(w.game.state.InGioco);
    EXPECT_TRUE(w.broken.empty()) << w.All();
}

TEST(RefereeSees, EachKindOfPlantedDamage) {
    struct Plant { const char* seen; std::function<void(Watched&)> plant; };
    const Plant plants[] = {
        {"floor cell (5,32) is empty", [](Watched& w) { w.game.state.Campo(5, 32) = 0; }},
        {"entry row cell (3,2)", [](Watched& w) { w.game.state.Campo(3, 2) = 4; }},
        {"cell (8,20) holds 9", [](Watched& w) { w.game.state.Campo(8, 20) = 9; }},
        {"score 16 after 0 removed rows", [](Watched& w) { w.game.state.Punteggio += 16; }},
        {"the row sound with no full row", [](Watched& w) { w.window.PlaySound("Bonus1.wav"); }},
        {"a completed row was left",
         [](Watched& w) { w.DamagingTick([&w] { for (int c = 1; c <= 16; ++c) w.game.state.Campo(c, 25) = 5; }); }},
        {"the next piece falls every 20 ms at a level interval of 300", [](Watched& w) {
             w.DamagingTick([&w] {  // a landing that leaves gravity at the fast drop's pace
                 w.game.state.Campo(4, 31) = 2;
                 w.window.SetTimerInterval(TimerId::Timer1, 20);
             });
         }},
        {"left the well", [](Watched& w) { w.PutPiece(2, 0, 16, 10); }},  // an O reaching column 17
        {"a step down onto (6,12)", [](Watched& w) {
             w.PutPiece(2, 0, 5, 10);
             w.game.state.Campo(6, 12) = 1;
             w.window.PlaySound("Impact02.wav");
         }},
        {"a sideways move onto (7,11)", [](Watched& w) {
             w.PutPiece(2, 0, 5, 10);
             w.game.state.Campo(7, 11) = 3;
             const auto before = w.referee.BeforeKey();
             for (int k = 1; k <= 4; ++k) w.window.MoveSprite(k, w.window.SpriteLeft(k) + kCella, w.window.SpriteTop(k));
             w.referee.AfterKey(before);
         }},
        {"outside the well and the preview", [](Watched& w) {
             w.window.SetRetainedBackground(true);
             w.window.PaintPicture(3, 5 * kCella, 32 * kCella, kCella);  // into the floor
         }},
        {"neither a well cell", [](Watched& w) { w.window.FillBlack(0, 0, 48 * kCella, 34 * kCella); }},
        {"banner \"Level  3\" after 1 level changes",
         [](Watched& w) { w.window.SetCaption(LabelId::Label3, "Level  3"); }},
        {"MoveSprite after the program ended", [](Watched& w) {
             w.game.Esci();
             w.window.MoveSprite(1, 0.0f, 0.0f);
         }},
        {"a wait spins without time passing", [](Watched& w) {
             w.window.At(w.window.Now(), [&w] { for (;;) w.window.WaitForEvents(Ms{0}); });
             w.RunFor(1000);
         }},
    };
    for (const Plant& p : plants) {
        Watched w;
        ASSERT_TRUE(w.broken.empty()) << w.All();
        p.plant(w);
        w.referee.Check();
        EXPECT_NE(w.All().find(p.seen), std::string::npos) << "expected: " << p.seen << "\nseen:\n" << w.All();
    }
}

}  // namespace
}  // namespace tumblara::fuzz
