#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "bench/Autoplayer.h"
#include "bench/WellReader.h"
#include "engine/Shapes.h"

namespace tumblara::bench {
namespace {

// A window of brightness values, black until painted.
struct Schermo {
    int width;
    int height;
    std::vector<int> pixels = std::vector<int>(static_cast<std::size_t>(width * height), 0);

    int& at(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
    Luce luce() {
        return [this](int x, int y) { return at(x, y); };
    }
    // A block picture stretched to a cell without smoothing: the 32-column ramp.
    void Blocco(int x0, int y0, int cella) {
        for (int y = 0; y < cella; ++y)
            for (int x = 0; x < cella; ++x) {
                const int src = x * 32 / cella;
                at(x0 + x, y0 + y) = src <= 17 ? 15 * src : 255 - 17 * (src - 17);
            }
    }
};

TEST(ReadingCells, BlockPicturesPassAtEveryCellSize) {
    for (int cella : {13, 21, 27, 40}) {
        Schermo s{4 * cella, 2 * cella};
        s.Blocco(cella, cella, cella);
        EXPECT_TRUE(SembraBlocco(s.luce(), cella, cella, cella)) << cella;
        EXPECT_FALSE(SembraBlocco(s.luce(), 2 * cella, cella, cella)) << "black beside it, " << cella;
    }
}

TEST(ReadingCells, BannerLettersAreNotBlocks) {
    constexpr int cella = 21;
    Schermo s{3 * cella, cella};
    // An upright stroke (an "L"), a crossbar across the middle (an "e"), and a
    // cell filled solid in the banner's yellow.
    for (int y = 0; y < cella; ++y)
        for (int x = 10; x < 14; ++x) s.at(x, y) = 255;
    for (int x = cella; x < 2 * cella; ++x)
        for (int y = 9; y < 12; ++y) s.at(x, y) = 30 + 10 * (x - cella);
    for (int y = 0; y < cella; ++y)
        for (int x = 2 * cella; x < 3 * cella; ++x) s.at(x, y) = 255;
    for (int c = 0; c < 3; ++c) EXPECT_FALSE(SembraBlocco(s.luce(), c * cella, 0, cella)) << c;
}

Griglia DaTesto(const std::vector<std::string>& rows) {
    Griglia g{};
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (int c = 1; c <= Well::kColumns; ++c) g[c][static_cast<int>(r) + 1] = rows[r][static_cast<std::size_t>(c - 1)] == '#';
    return g;
}

std::set<std::pair<int, int>> Celle(std::int16_t tipo, std::int16_t rot, int x, int y) {
    std::set<std::pair<int, int>> out;
    for (const Offset& o : Forma(tipo, rot)) out.insert({x + o.dc, y + o.dr});
    return out;
}

TEST(NewPiece, EveryShapeAndTurnIsFoundWhereItEnters) {
    for (std::int16_t tipo = 1; tipo <= 7; ++tipo) {
        for (std::int16_t rot = 0; rot < 4; ++rot) {
            for (int x0 : {1, 7, 13}) {
                const int x = CorreggiJ(tipo, rot, x0);
                const int y = EntraAbbassato(tipo, rot) ? 2 : 1;
                Griglia g{};
                for (auto [c, r] : Celle(tipo, rot, x, y)) g[c][r] = true;
                // A high stack elsewhere, up to row 4.
                for (int r = 4; r < Well::kFloorRow; ++r) g[16][r] = g[15][r] = x < 12;
                const auto seen = PezzoEntrato(g);
                ASSERT_TRUE(seen) << tipo << "/" << rot << " at " << x;
                EXPECT_EQ(Celle(seen->tipo, seen->rot, seen->x, seen->y), Celle(tipo, rot, x, y)) << tipo << "/" << rot;
            }
        }
    }
}

TEST(NewPiece, NothingWhenTheTopRowsHoldNoWholePiece) {
    // Three in a column with nothing below is no bar; five blocks is a full well.
    EXPECT_FALSE(PezzoEntrato(DaTesto({"....#...........", "....#...........", "....#..........."})));
    EXPECT_FALSE(PezzoEntrato(DaTesto({"....##..........", "....##..........", "....#..........."})));
    EXPECT_FALSE(PezzoEntrato(DaTesto({"................"})));
}

TEST(NewPiece, SettledBlocksAreTheRestWithTheFloor) {
    std::vector<std::string> rows(31, "................");
    rows[0] = "..###...........";
    rows[1] = "...#............";
    rows[30] = "#.#.#.#.#.#.#.#.";
    const Griglia g = DaTesto(rows);
    const auto seen = PezzoEntrato(g);
    ASSERT_TRUE(seen);
    const Well campo = CampoVisto(g, *seen);
    EXPECT_EQ(campo(3, 1), 0);
    EXPECT_EQ(campo(4, 2), 0);
    EXPECT_NE(campo(1, 31), 0);
    EXPECT_EQ(campo(2, 31), 0);
    EXPECT_NE(campo(2, Well::kFloorRow), 0);
}

TEST(PlanningFromTheScreen, ABarDroppedIntoTheOnlyGapCompletesFourRows) {
    // A reconstructed game must keep the landed piece in Campo, or no row
    // could ever look complete to the planner.
    std::vector<std::string> rows(31, "................");
    rows[0] = "..#.............";
    rows[1] = "..#.............";
    rows[2] = "..#.............";
    rows[3] = "..#.............";
    for (int r = 27; r < 31; ++r) rows[static_cast<std::size_t>(r)] = "#########.######";
    const Griglia g = DaTesto(rows);
    const auto seen = PezzoEntrato(g);
    ASSERT_TRUE(seen);
    LeanWindow window;
    Game game(window);
    Ricostruisci(game, window, *seen, g, kCellaBench);
    const Scelta s = Migliore(game, window);
    EXPECT_EQ(s.righe, 4);
    EXPECT_EQ(s.mossa.passi, 7);
    EXPECT_EQ(s.mossa.giri % 2, 0);  // still upright
}

TEST(PlannedGame, ReplayEndsInTheSameWell) {
    // The whole-game benchmark times a replay; it must be the planned game.
    const Piano piano = Pianifica(100);
    LeanWindow window;
    Game game(window);
    Rigioca(piano, game, window);
    EXPECT_EQ(window.waitsForPlayer, 1);
    EXPECT_TRUE(game.state.Campo == piano.finalCampo);
    EXPECT_GE(piano.livelli, 3) << "a hundred well-placed pieces clear at least two levels";
}

}  // namespace
}  // namespace tumblara::bench
