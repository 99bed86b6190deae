// Landing: where a piece comes to rest, the landing that ends the game, and
// the full rows that go after a landing.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "tests/support/Board.h"

namespace tumblara::testing {
namespace {

TEST(Gravity, APieceRestsOnTheFloorOrOnSettledBlocksAndABlockAboveRowFourEndsTheGame) {
    // A pile in one column from pileTop down to the floor; blocks 1..stored settle, the others do not.
    struct Case { const char* what; std::int16_t tipo, rot; int x, y, pileColumn, pileTop, stored; };
    const Case cases[] = {
        {"O on the floor", 2, 0, 5, 30, 1, 32, 4},
        {"upright I on a pile, over its own blocks", 1, 1, 5, 26, 5, 30, 4},
        {"flat I resting on row 4", 1, 0, 4, 4, 5, 5, 4},
        {"flat I resting on row 3", 1, 0, 4, 3, 5, 4, 0},
        {"upright I in rows 1..4", 1, 1, 7, 1, 7, 5, 0},
        {"Z with block 3 in row 3", 5, 0, 3, 4, 3, 6, 2},  // (3,4) (3,5) (4,3) (4,4)
    };
    for (const Case& c : cases) {
        GameOnFakeWindow g;
        g.StartGame();
        for (int r = c.pileTop; r < Well::kFloorRow; ++r) g.game.state.Campo(c.pileColumn, r) = 1;
        g.game.state.ColorePezzo = 5;
        g.PutPiece(c.tipo, c.rot, c.x, c.y);
        const Cells piece = g.PieceCells();
        g.fake.ClearLog();
        g.fake.RunFor(Ms{300});
        EXPECT_EQ(g.game.state.InGioco, c.stored == 4) << c.what;
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(g.game.state.Campo(piece[k].first, piece[k].second), k < c.stored ? 5 : 0) << c.what << ", block " << k + 1;
        EXPECT_EQ(g.fake.CountInLog("sound Impact02.wav"), 0) << c.what << ": a landing is not a step";
    }
}

class Rows : public ::testing::Test, protected GameOnFakeWindow {
protected:
    void SetUp() override { StartGame(); }
    // The row first repainted by the first removal, and how many rows it rewrote.
    std::pair<int, int> FirstRemoval() const {
        std::vector<int> rows;
        for (auto it = std::find(fake.log.begin(), fake.log.end(), "sound Bonus1.wav"); it != fake.log.end() && *it != "retained off"; ++it) {
            int picture = 0, x = 0, y = 0;
            if (std::sscanf(it->c_str(), "paint %d at %d,%d", &picture, &x, &y) == 3 || std::sscanf(it->c_str(), "fill %d,%d", &x, &y) == 2)
                rows.push_back(y / kCella);
        }
        return {rows.empty() ? 0 : rows[0], static_cast<int>(rows.size()) / 16};
    }
};

TEST_F(Rows, EveryRowThePieceCompletesGoesInTurnAndTheRowsAboveMoveDownInTheirOwnPictures) {
    // Wells are their bottom rows; the first removal is given by its row and the
    // rows it rewrites, down to the first one that receives an empty row.
    struct Case { const char* what; std::int16_t tipo, rot; int x, y; const char *before, *after; int removed; std::pair<int, int> first; };
    const Case cases[] = {
        {"rows 28 and 30 around a gap: block 3's row goes first", 1, 1, 8, 28,
         "2.............../.3............../4444444.44444444/5555555.5555555./6666666.66666666/7777777.777.7777",
         "................/................/2.............../.3............../555555535555555./77777773777.7777", 2, {30, 5}},
        {"four rows", 1, 1, 1, 28, "7..............7/.333333333333333/.555555555555555/.666666666666666/.222222222222222",
         "................/................/................/................/7..............7", 4, {31, 5}},
        {"row 31 under an empty row", 1, 0, 5, 31, "................/####....########", "................/................", 1, {31, 1}},
        {"no row", 7, 2, 4, 30, "", "...333........../....3...........", 0, {0, 0}},
    };
    for (const Case& c : cases) {
        game.state.Campo.Reset(1);
        SetBottomRows(game.state.Campo, TextRows(c.before));
        ShowCampo();
        game.state.ColorePezzo = 3;
        game.state.Punteggio = 0;
        PutPiece(c.tipo, c.rot, c.x, c.y);
        fake.ClearLog();
        game.Timer1_Timer();
        const auto after = TextRows(c.after);
        EXPECT_EQ(BottomRows(game.state.Campo, static_cast<int>(after.size())), after) << c.what;
        fake.Repaint();
        EXPECT_EQ(fake.ShownWell(), WellRows(game.state.Campo)) << c.what << ": every moved cell is repainted, and kept";
        EXPECT_EQ(fake.CountInLog("sound Bonus1.wav"), c.removed) << c.what;
        EXPECT_EQ(game.state.Punteggio, 16 * c.removed) << c.what;
        if (c.removed > 0) {
            EXPECT_EQ(fake.Caption(LabelId::Label2), "Score :  " + std::to_string(16 * c.removed)) << "a blank for the sign";
        }
        EXPECT_EQ(FirstRemoval(), c.first) << c.what;
    }
}

}  // namespace
}  // namespace tumblara::testing
