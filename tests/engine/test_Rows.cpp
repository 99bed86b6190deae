// Full rows after a landing: which go, in which order, where the rows above
// end up and how they are repainted, and what the score label says.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "tests/support/Board.h"

namespace tumblara::testing {
namespace {

class Rows : public ::testing::Test, protected GameOnFakeWindow {
protected:
    void SetUp() override {
        StartGame();
        game.state.ColorePezzo = 1;
    }
    // Lands an upright I in `column`, rows 28..31, on a well whose bottom rows are `rows`.
    void LandUprightI(int column, const std::vector<std::string>& rows) {
        game.state.Campo.Reset(1);
        SetBottomRows(game.state.Campo, rows);
        ShowCampo();
        PutPiece(1, 1, column, 28);
        fake.ClearLog();
        game.Timer1_Timer();
    }
    // The well row of the first cell repainted after log entry `from`.
    int FirstRowRepaintedAfter(std::size_t from) const {
        for (std::size_t i = from; i < fake.log.size(); ++i) {
            int a = 0, x = 0, y = 0;
            if (std::sscanf(fake.log[i].c_str(), "paint %d at %d,%d", &a, &x, &y) == 3 ||
                std::sscanf(fake.log[i].c_str(), "fill %d,%d", &x, &y) == 2)
                return y / kCella;
        }
        return 0;
    }
    std::vector<std::size_t> Indices(const std::string& line) const {
        std::vector<std::size_t> at;
        for (std::size_t i = 0; i < fake.log.size(); ++i)
            if (fake.log[i] == line) at.push_back(i);
        return at;
    }
};

TEST_F(Rows, TwoRowsAroundAGapGoLowerFirstAndTheRowsAboveDropByTwo) {
    LandUprightI(8, {
        "2...............",  // 26
        ".3..............",  // 27
        "4444444.44444444",  // 28: completed
        "5555555.5555555.",  // 29
        "6666666.66666666",  // 30: completed
        "7777777.777.7777",  // 31
    });
    const std::vector<std::string> expected = {
        "................",
        "................",
        "2...............",
        ".3..............",
        "555555515555555.",
        "77777771777.7777",
    };
    EXPECT_EQ(BottomRows(game.state.Campo, 6), expected);
    EXPECT_EQ(WellRows(game.state.Campo, 1), fake.ShownWell()) << "every moved cell is repainted in its own picture";

    const auto sounds = Indices("sound Bonus1.wav");
    ASSERT_EQ(sounds.size(), 2u);
    EXPECT_EQ(FirstRowRepaintedAfter(sounds[0]), 30) << "block 3's row is examined before block 1's";
    EXPECT_EQ(FirstRowRepaintedAfter(sounds[1]), 29) << "the former row 28 has moved into row 29";
    EXPECT_EQ(game.state.Punteggio, 32);
}

TEST_F(Rows, FourRowsPayFourTimesSixteenWithFourSoundsAndDropTheRowsAboveByFour) {
    LandUprightI(1, {
        "....6...........",  // 24
        "...2.3..........",  // 25
        "7..............7",  // 26
        ".44.............",  // 27
        ".333333333333333",
        ".555555555555555",
        ".666666666666666",
        ".222222222222222",
    });
    EXPECT_EQ(BottomRows(game.state.Campo, 8), (std::vector<std::string>{
        "................",
        "................",
        "................",
        "................",
        "....6...........",
        "...2.3..........",
        "7..............7",
        ".44.............",
    }));
    EXPECT_EQ(WellRows(game.state.Campo, 1), fake.ShownWell());
    EXPECT_EQ(fake.CountInLog("sound Bonus1.wav"), 4);
    EXPECT_EQ(game.state.Punteggio, 64);
    EXPECT_EQ(fake.Caption(LabelId::Label2), "Score :  64");
    for (int c = 1; c <= 16; ++c) EXPECT_EQ(game.state.Campo(c, 32), 1) << "the floor stays";
}

TEST_F(Rows, RowThirtyOneUnderAnEmptyRowIsTheOnlyRowRewritten) {
    game.state.Campo.Reset(1);
    SetBottomRows(game.state.Campo, {"####....########"});
    ShowCampo();
    PutPiece(1, 0, 5, 31);
    fake.ClearLog();
    game.Timer1_Timer();
    EXPECT_EQ(fake.ShownWell(), std::vector<std::string>(31, "................"));
    EXPECT_EQ(WellRows(game.state.Campo), std::vector<std::string>(31, "................"));
    const auto sound = Indices("sound Bonus1.wav");
    ASSERT_EQ(sound.size(), 1u);
    int repainted = 0;
    for (std::size_t i = sound[0]; i < fake.log.size(); ++i) {
        if (fake.log[i].rfind("retained off", 0) == 0) break;
        if (fake.log[i].rfind("fill ", 0) == 0 || fake.log[i].rfind("paint ", 0) == 0) ++repainted;
    }
    EXPECT_EQ(repainted, 16) << "rows above an empty row are left alone";
    EXPECT_EQ(fake.Caption(LabelId::Label2), "Score :  16") << "two blanks: one stands for the sign";
}

TEST_F(Rows, TheScoreLabelCountsSixteenPerRowWithALeadingBlank) {
    // One, then four, then two rows: seven in all.
    auto rowsWithFull = [](int full) {
        std::vector<std::string> rows;
        for (int i = 0; i < 4; ++i) rows.push_back(i < 4 - full ? "..#............." : "###############.");
        return rows;
    };
    LandUprightI(16, rowsWithFull(1));
    EXPECT_EQ(fake.Caption(LabelId::Label2), "Score :  16");
    LandUprightI(16, rowsWithFull(4));
    EXPECT_EQ(fake.Caption(LabelId::Label2), "Score :  80");
    LandUprightI(16, rowsWithFull(2));
    EXPECT_EQ(fake.Caption(LabelId::Label2), "Score :  112");
    EXPECT_EQ(game.state.Punteggio, 112);
}

TEST_F(Rows, ALandingThatCompletesNoRowPaintsThePieceSilentlyAndScoresNothing) {
    game.state.Campo.Reset(1);
    game.state.ColorePezzo = 3;
    PutPiece(7, 2, 4, 30);  // T pointing down: (4,30) (5,30) (6,30) (5,31)
    fake.ClearLog();
    game.Timer1_Timer();
    EXPECT_EQ(BottomRows(game.state.Campo, 2), (std::vector<std::string>{"...333..........", "....3..........."}));
    const std::vector<std::string> shown = fake.ShownWell();
    EXPECT_EQ(BottomRows(game.state.Campo, 2), std::vector<std::string>(shown.end() - 2, shown.end()));
    EXPECT_EQ(fake.CountInLog("sound"), 0);
    EXPECT_EQ(game.state.Punteggio, 0);
}

}  // namespace
}  // namespace tumblara::testing
