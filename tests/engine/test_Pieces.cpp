// The next piece: its preview, the hand-over after a landing, and the random
// choice behind it.

#include <gtest/gtest.h>

#include <numeric>
#include <tuple>

#include "tests/support/Board.h"

namespace tumblara::testing {
namespace {

double ChiSquare(const std::vector<int>& counts) {
    const double expected = std::accumulate(counts.begin(), counts.end(), 0.0) / static_cast<double>(counts.size());
    double chi = 0;
    for (const int n : counts) chi += (n - expected) * (n - expected) / expected;
    return chi;
}

class NextPiece : public ::testing::Test, protected GameOnFakeWindow {
protected:
    void SetUp() override { StartGame(); }
    // A new game's first shape and column, and the next draws of its random source.
    std::vector<float> PlayFrom(float timeOfDay) {
        fake.After(Ms{0}, [this] { game.NuovaPartita(); });
        fake.SetTimeOfDay(timeOfDay);
        fake.RunFor(Ms{2600});
        EXPECT_EQ(game.state.TipoProssimo, game.state.TipoPezzo) << "the first two pieces share their shape";
        return {static_cast<float>(game.state.TipoPezzo), static_cast<float>(PieceCells()[0].first), fake.Rnd(), fake.Rnd()};
    }
};

TEST_F(NextPiece, ThePreviewDrawsTheWholeNextPieceInItsPictureAndNothingOfThePreviousOne) {
    // Cell rows 15..20 and cell columns 18..23; the J's foot stays in column 20.
    const std::tuple<std::int16_t, std::int16_t, std::int32_t, const char*> cases[] = {
        {1, 0, 3, "....../....../..3333/....../....../......"}, {1, 1, 5, "....../....../..5.../..5.../..5.../..5..."},
        {4, 0, 4, "....../....../...4../...4../..44../......"}, {6, 3, 7, "....../....../...77./..77../....../......"},
        {7, 0, 2, "....../....../...2../..222./....../......"}, {3, 1, 6, "....../....../....6./..666./....../......"},
        {5, 2, 1, "....../....../...1../..11../..1.../......"}, {2, 3, 7, "....../....../..77../..77../....../......"},
    };
    for (const auto& [tipo, rot, picture, box] : cases) {
        game.state.TipoProssimo = tipo;
        game.state.RotProssimo = rot;
        game.state.ColoreProssimo = picture;
        game.ProssimoPezzo();
        EXPECT_EQ(PreviewBox(), box) << "type " << tipo << " state " << rot;
        EXPECT_EQ(PreviewBox(true), box) << "the preview is kept in the retained background";
    }
}

TEST_F(NextPiece, ALandingHandsOverThePreviewedPieceThenDrawsShapeRotationPictureAndColumnInThatOrder) {
    game.state.TipoProssimo = 7;
    game.state.RotProssimo = 0;
    game.state.ColoreProssimo = 6;
    PutPiece(1, 0, 1, 31);
    fake.SetTimerInterval(TimerId::Timer1, 20);  // a fast drop in progress
    fake.ScriptRnd({0.9f, 0.3f, 0.5f, RndForColumn(8)});
    fake.RunFor(Ms{20});
    EXPECT_EQ(PieceCells(), DrawnCells(".4./123", 8)) << "the T that was next, in state 0";
    EXPECT_EQ(game.state.ColorePezzo, 6);
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(fake.Picture(k), 6) << "sprite " << k;
    EXPECT_EQ(PreviewBox(), "....../....../...4../..44../...4../......") << "next: a T in state 1, picture 4";
    EXPECT_EQ(fake.Interval(TimerId::Timer1), 300) << "the fast drop ends";
}

TEST_F(NextPiece, EachGameReseedsFromTheTimeOfDayAndItsFirstTwoPiecesShareTheirShape) {
    const auto first = PlayFrom(777.0f);
    for (const float timeOfDay : {778.0f, 777.001f, 45000.25f}) EXPECT_NE(PlayFrom(timeOfDay), first) << timeOfDay;
    EXPECT_EQ(PlayFrom(777.0f), first) << "the same time of day gives the same game";
}

TEST(PieceChoice, ShapesRotationsAndPicturesAreUniformIndependentAndWithoutMemory) {
    GameOnFakeWindow g;
    g.fake.Randomize(4321.0f);
    std::vector<int> shapes(7), rotations(4), pictures(7), shapePicture(49);
    int repeats = 0;
    for (int i = 0, previous = 0; i < 70000; ++i) {
        const int t = g.game.state.TipoProssimo = g.game.ScegliPezzo();  // as a landing does
        const int r = g.game.state.RotProssimo;
        const int p = g.game.state.ColoreProssimo;
        ASSERT_TRUE(t >= 1 && t <= 7 && r >= 0 && r <= 3 && p >= 1 && p <= 7) << t << " " << r << " " << p;
        ++shapes[t - 1], ++rotations[r], ++pictures[p - 1], ++shapePicture[(t - 1) * 7 + (p - 1)];
        repeats += t == previous;
        previous = t;
    }
    // Critical values of the chi-square distribution at p = 0.001.
    EXPECT_LT(ChiSquare(shapes), 22.46);
    EXPECT_LT(ChiSquare(rotations), 16.27);
    EXPECT_LT(ChiSquare(pictures), 22.46);
    EXPECT_LT(ChiSquare(shapePicture), 84.04) << "shape and picture come from separate draws";
    // No bag: the same shape follows itself about once in seven.
    EXPECT_NEAR(repeats / 69999.0, 1.0 / 7, 0.013);
}

}  // namespace
}  // namespace tumblara::testing
