// The next piece: how it is drawn, what the preview promises, and the random
// choice behind it.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <tuple>

#include "tests/support/Board.h"

namespace tumblara::testing {
namespace {

using Ms = FakeWindow::Ms;
using Pattern = std::set<std::pair<int, int>>;

const std::vector<std::string> kEmptyBox(6, "......");

// Cells moved so that the leftmost column and the top row are 0.
Pattern Normalised(const std::vector<std::pair<int, int>>& cells) {
    int left = 1000, top = 1000;
    for (const auto& [c, r] : cells) left = std::min(left, c), top = std::min(top, r);
    Pattern p;
    for (const auto& [c, r] : cells) p.emplace(c - left, r - top);
    return p;
}

// The blocks drawn in a preview box and the one picture they share (0 if mixed).
std::pair<Pattern, int> Drawn(const std::vector<std::string>& box) {
    std::vector<std::pair<int, int>> cells;
    std::set<char> pictures;
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 6; ++c)
            if (box[r][c] != '.') cells.emplace_back(c, r), pictures.insert(box[r][c]);
    return {Normalised(cells), pictures.size() == 1 ? *pictures.begin() - '0' : 0};
}

double ChiSquare(const std::vector<int>& counts) {
    double total = 0;
    for (int n : counts) total += n;
    const double expected = total / static_cast<double>(counts.size());
    double chi = 0;
    for (int n : counts) chi += (n - expected) * (n - expected) / expected;
    return chi;
}

class Preview : public ::testing::Test, protected GameOnFakeWindow {
protected:
    void Show(std::int16_t tipo, std::int16_t rot, std::int32_t picture) {
        game.state.TipoProssimo = tipo;
        game.state.RotProssimo = rot;
        game.state.ColoreProssimo = picture;
        game.ProssimoPezzo();
    }
};

TEST_F(Preview, EachPieceIsDrawnWholeAndNothingOfThePreviousOneSurvives) {
    struct Case {
        std::int16_t tipo, rot;
        std::int32_t picture;
        std::vector<std::string> box;  // cell rows 15..20, cell columns 18..23
    };
    const std::vector<Case> cases = {
        {1, 0, 3, {"......", "......", "..3333", "......", "......", "......"}},
        {1, 1, 5, {"......", "......", "..5...", "..5...", "..5...", "..5..."}},
        // The J's foot stays in cell column 20: the anchor moves to 21.
        {4, 0, 4, {"......", "......", "...4..", "...4..", "..44..", "......"}},
        {6, 3, 7, {"......", "......", "...77.", "..77..", "......", "......"}},
        {7, 0, 2, {"......", "......", "...2..", "..222.", "......", "......"}},
        {3, 1, 6, {"......", "......", "....6.", "..666.", "......", "......"}},
        {5, 2, 1, {"......", "......", "...1..", "..11..", "..1...", "......"}},
        {2, 3, 7, {"......", "......", "..77..", "..77..", "......", "......"}},
        {1, 2, 3, {"......", "......", "..3333", "......", "......", "......"}},
    };
    for (const Case& c : cases) {
        Show(c.tipo, c.rot, c.picture);
        EXPECT_EQ(PreviewBox(), c.box) << "type " << c.tipo << " state " << c.rot;
        EXPECT_EQ(PreviewBox(true), c.box) << "the preview is kept in the retained background";
    }
}

class NextPiece : public ::testing::Test, protected GameOnFakeWindow {
protected:
    void SetUp() override { StartGame(); }
    void LandNow() {
        game.state.Campo.Reset(1);
        SinkToFloor();
        game.Timer1_Timer();
    }
};

TEST_F(NextPiece, AfterEachLandingTheFallingPieceIsTheOneThePreviewShowed) {
    EXPECT_EQ(PreviewBox(true), kEmptyBox) << "nothing is previewed before the first landing";
    LandNow();
    for (int landing = 0; landing < 30; ++landing) {
        const auto [pattern, picture] = Drawn(PreviewBox());
        ASSERT_NE(picture, 0) << "one picture for the whole preview";
        const std::int16_t tipo = game.state.TipoProssimo;
        const std::int16_t rot = game.state.RotProssimo;
        LandNow();
        EXPECT_EQ(game.state.TipoPezzo, tipo);
        EXPECT_EQ(game.state.RotPezzo, rot);
        EXPECT_EQ(game.state.ColorePezzo, picture);
        EXPECT_EQ(Normalised(PieceCells()), pattern) << "landing " << landing;
        for (int k = 1; k <= 4; ++k) EXPECT_EQ(fake.Picture(k), picture) << "sprite " << k;
    }
}

TEST(FirstPieces, TheFirstTwoPiecesOfAGameHaveTheSameShape) {
    std::set<int> firstShapes;
    for (const float timeOfDay : {100.0f, 2000.5f, 45000.25f, 61000.0f, 80123.0f, 5.75f, 33333.0f, 7000.0f}) {
        GameOnFakeWindow g;
        g.fake.After(Ms{0}, [&g] { g.game.NuovaPartita(); });
        g.fake.SetTimeOfDay(timeOfDay);
        ASSERT_TRUE(g.fake.RunFor(Ms{2600}));
        const std::int16_t first = g.game.state.TipoPezzo;
        firstShapes.insert(first);
        EXPECT_EQ(g.game.state.TipoProssimo, first);
        g.game.state.Campo.Reset(1);
        g.SinkToFloor();
        g.game.Timer1_Timer();
        EXPECT_EQ(g.game.state.TipoPezzo, first) << "started at " << timeOfDay;
    }
    EXPECT_GT(firstShapes.size(), 1u) << "the games did not all start alike";
}

TEST(PieceChoice, ShapesRotationsAndPicturesAreUniformAndDrawnIndependently) {
    GameOnFakeWindow g;
    g.fake.Randomize(4321.0f);
    constexpr int kDraws = 70000;
    std::vector<int> shapes(7), rotations(4), pictures(7), shapeRotation(28), shapePicture(49);
    int repeats = 0;
    int handOverErrors = 0;
    int previous = 0;
    for (int i = 0; i < kDraws; ++i) {
        const std::int32_t promised = g.game.state.ColoreProssimo;
        const int t = g.game.ScegliPezzo();
        const int r = g.game.state.RotProssimo;
        const int p = g.game.state.ColoreProssimo;
        ASSERT_TRUE(t >= 1 && t <= 7 && r >= 0 && r <= 3 && p >= 1 && p <= 7) << t << " " << r << " " << p;
        if (g.game.state.ColorePezzo != promised || g.fake.Picture(1) != promised || g.fake.Picture(4) != promised)
            ++handOverErrors;
        ++shapes[t - 1];
        ++rotations[r];
        ++pictures[p - 1];
        ++shapeRotation[(t - 1) * 4 + r];
        ++shapePicture[(t - 1) * 7 + (p - 1)];
        repeats += t == previous;
        previous = t;
    }
    EXPECT_EQ(handOverErrors, 0) << "the falling piece takes the picture drawn one piece earlier";
    // Critical values of the chi-square distribution at p = 0.001.
    EXPECT_LT(ChiSquare(shapes), 22.46);
    EXPECT_LT(ChiSquare(rotations), 16.27);
    EXPECT_LT(ChiSquare(pictures), 22.46);
    EXPECT_LT(ChiSquare(shapeRotation), 55.48) << "shape and rotation come from separate draws";
    EXPECT_LT(ChiSquare(shapePicture), 84.04) << "shape and picture come from separate draws";
    // No bag and no memory: the same shape follows itself about once in seven.
    const double repeatShare = static_cast<double>(repeats) / (kDraws - 1);
    EXPECT_GT(repeatShare, 0.13);
    EXPECT_LT(repeatShare, 0.156);
}

// What the random source decided in one game: shapes, rotations, pictures and columns.
std::vector<std::tuple<int, int, int, int>> PlayFrom(GameOnFakeWindow& g, float timeOfDay) {
    g.fake.After(Ms{0}, [&g] { g.game.NuovaPartita(); });
    g.fake.SetTimeOfDay(timeOfDay);
    g.fake.RunFor(Ms{2600});
    std::vector<std::tuple<int, int, int, int>> drawn;
    drawn.emplace_back(g.game.state.TipoPezzo, 0, g.game.state.ColoreProssimo, g.PieceCells()[0].first);
    for (int i = 0; i < 8; ++i) {
        g.game.state.Campo.Reset(1);
        g.SinkToFloor();
        g.game.Timer1_Timer();
        drawn.emplace_back(g.game.state.TipoProssimo, g.game.state.RotProssimo, g.game.state.ColoreProssimo,
                           g.PieceCells()[0].first);
    }
    return drawn;
}

TEST(PieceChoice, EachNewGameReseedsFromTheTimeOfDay) {
    GameOnFakeWindow g;
    const auto first = PlayFrom(g, 777.0f);
    const auto again = PlayFrom(g, 777.0f);
    const auto later = PlayFrom(g, 778.0f);
    EXPECT_EQ(again, first) << "the same time of day gives the same game";
    EXPECT_NE(later, first);
}

}  // namespace
}  // namespace tumblara::testing
