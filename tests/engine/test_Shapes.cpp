// The shape table checked against the shapes as a player sees them drawn.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/Shapes.h"

namespace tumblara {
namespace {

// Each state drawn row by row: R is block 1, # another block.
struct Drawn {
    std::int16_t tipo;
    std::int16_t rot;
    std::vector<std::string> rows;
};

const std::vector<Drawn> kDrawn = {
    {1, 0, {"R###"}},          {1, 1, {"R", "#", "#", "#"}},
    {2, 0, {"R#", "##"}},
    {3, 0, {"R.", "#.", "##"}}, {3, 1, {"..#", "R##"}}, {3, 2, {"R#", ".#", ".#"}}, {3, 3, {"R##", "#.."}},
    {4, 0, {".R", ".#", "##"}}, {4, 1, {"R##", "..#"}}, {4, 2, {"R#", "#.", "#."}}, {4, 3, {"R..", "###"}},
    {5, 0, {".#", "R#", "#."}}, {5, 1, {"R#.", ".##"}},
    {6, 0, {"R.", "##", ".#"}}, {6, 1, {".##", "R#."}},
    {7, 0, {".#.", "R##"}},     {7, 1, {".#", "R#", ".#"}}, {7, 2, {"R##", ".#."}}, {7, 3, {"R.", "##", "#."}},
};

// The offsets of a drawing, relative to R, sorted so that block order is ignored.
std::vector<Offset> FromDrawing(const std::vector<std::string>& rows) {
    int rc = 0, rr = 0;
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        for (int c = 0; c < static_cast<int>(rows[r].size()); ++c)
            if (rows[r][c] == 'R') rc = c, rr = r;
    std::vector<Offset> out;
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        for (int c = 0; c < static_cast<int>(rows[r].size()); ++c)
            if (rows[r][c] != '.') out.push_back({c - rc, r - rr});
    return out;
}

std::vector<Offset> Sorted(const ShapeOffsets& f) {
    std::vector<Offset> v(f.begin(), f.end());
    std::sort(v.begin(), v.end(), [](Offset a, Offset b) { return a.dr != b.dr ? a.dr < b.dr : a.dc < b.dc; });
    return v;
}

TEST(Shapes, EveryStateMatchesItsDrawing) {
    for (const Drawn& d : kDrawn) {
        auto expected = FromDrawing(d.rows);
        std::sort(expected.begin(), expected.end(),
                  [](Offset a, Offset b) { return a.dr != b.dr ? a.dr < b.dr : a.dc < b.dc; });
        EXPECT_EQ(Sorted(Forma(d.tipo, d.rot)), expected) << "type " << d.tipo << " rotation " << d.rot;
        EXPECT_EQ(Forma(d.tipo, d.rot)[0], (Offset{0, 0})) << "block 1 is the reference";
    }
}

TEST(Shapes, TwoStateShapesRepeatOnEvenAndOddStates) {
    // I, Z and S only look at whether the state is even; O has one state.
    for (const std::int16_t tipo : {std::int16_t{1}, std::int16_t{5}, std::int16_t{6}}) {
        EXPECT_EQ(Forma(tipo, 2), Forma(tipo, 0));
        EXPECT_EQ(Forma(tipo, 3), Forma(tipo, 1));
    }
    for (const std::int16_t rot : {std::int16_t{1}, std::int16_t{2}, std::int16_t{3}}) EXPECT_EQ(Forma(2, rot), Forma(2, 0));
}

TEST(Shapes, NewPieceAlwaysHasItsTopBlockInRowOne) {
    for (std::int16_t tipo = 1; tipo <= 7; ++tipo) {
        for (std::int16_t rot = 0; rot < 4; ++rot) {
            for (int x = 1; x <= 13; ++x) {
                const PieceCells cells = NuovoPezzo(tipo, rot, x);
                const auto top = std::min_element(cells.begin(), cells.end(),
                                                  [](Cell a, Cell b) { return a.row < b.row; });
                EXPECT_EQ(top->row, 1) << tipo << "/" << rot;
                for (const Cell& c : cells) {
                    EXPECT_GE(c.column, 1);
                    EXPECT_LE(c.column, 16) << "a new piece never reaches past the right wall";
                }
            }
        }
    }
}

TEST(Shapes, JInStateZeroAtTheLeftWallKeepsItsFootInColumnOne) {
    EXPECT_EQ(NuovoPezzo(4, 0, 1), (PieceCells{{{2, 1}, {2, 2}, {2, 3}, {1, 3}}}));
    // Only that state is nudged.
    EXPECT_EQ(NuovoPezzo(4, 1, 1)[0], (Cell{1, 1}));
    EXPECT_EQ(NuovoPezzo(4, 0, 2)[0], (Cell{2, 1}));
}

}  // namespace
}  // namespace tumblara
