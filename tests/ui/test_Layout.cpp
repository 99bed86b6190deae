// Where the main window's elements stand, from the screen size alone.

#include <gtest/gtest.h>

#include "ui/Layout.h"

namespace tumblara {
namespace {

TEST(Layout, EveryElementStandsInCellsOfAFortyEighthOfTheWidthLoweredToFitTheHeight) {
    const Layout l = CalcolaLayout({1024, 768, 15.0, 15.0});
    EXPECT_EQ(l.Cella, 21);
    EXPECT_EQ(l.Label1[4], (PixelRect{824, 240, 200, 35}));
    const std::array<PixelPoint, 3> labels{{{377, 21}, {126, 315}, {420, 273}}};
    EXPECT_EQ((std::array{l.Label2, l.Label3, l.Label4}), labels);
    EXPECT_EQ(l.Text4, (PixelRect{662, 168, 177, 81}));  // 661.5 rounds to the even 662; 2652 x 1212 twips
    EXPECT_EQ(l.Shape2, (PixelRect{19, 0, 340, 674}));
    const Layout twice = CalcolaLayout({2048, 1536, 7.5, 7.5});  // twice the dots per inch
    EXPECT_EQ(twice.Text4, (PixelRect{1354, 344, 354, 162}));
    // The cell: rounded half to even, lowered where the well's frame (32
    // cells and 2 pixels) would not fit the height, and within a byte.
    const std::array<int, 3> cases[] = {{640, 480, 13},   {1176, 882, 24}, {1224, 918, 26},    {1920, 1080, 33},
                                        {1920, 1282, 40}, {24, 24, 1},     {15360, 8640, 255}, {12264, 100000, 255}};
    for (const auto& [w, h, cella] : cases) EXPECT_EQ(CellaPerSchermo(w, h), cella) << w << "x" << h;
}

}  // namespace
}  // namespace tumblara
