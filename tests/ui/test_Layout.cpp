// Where the main window's elements stand, from the screen size alone.

#include <gtest/gtest.h>

#include "ui/Layout.h"

namespace tumblara {
namespace {

ScreenMetrics Screen(int w, int h, double twipsPerPixel = 15.0) { return {w, h, twipsPerPixel, twipsPerPixel}; }

TEST(LayoutOn1024x768, EveryElementStandsWhereTheWorkedExamplePutsIt) {
    const Layout l = CalcolaLayout(Screen(1024, 768));
    EXPECT_EQ(l.Cella, 21);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(l.Label1[static_cast<std::size_t>(i)], (PixelRect{824, 60 * i, 200, 35})) << "menu label " << i;
    EXPECT_EQ(l.Label2, (PixelPoint{377, 21}));
    EXPECT_EQ(l.Label3, (PixelPoint{126, 315}));
    EXPECT_EQ(l.Label4, (PixelPoint{420, 273}));
    // 31.5 cells is 661.5, which rounds to the even 662; 2652 x 1212 twips.
    EXPECT_EQ(l.Text4, (PixelRect{662, 168, 177, 81}));
    EXPECT_EQ(l.Shape2, (PixelRect{19, 0, 340, 674}));
    EXPECT_EQ(l.Shape1, (PixelRect{0, -42, 21, 21})) << "sprites parked above the top edge";
}

// A forty-eighth of the width, rounded half to even, lowered where the well's
// frame (32 cells and 2 pixels) would not fit the height, and within a byte.
TEST(LayoutCella, FollowsTheWidthWhileTheFrameFitsTheHeightAndAByte) {
    struct Case { int w, h, cella; const char* why; };
    const Case cases[] = {
        {640, 480, 13, "4:3"},
        {1280, 1024, 27, "5:4"},
        {1176, 882, 24, "24.5 rounds to the even 24"},
        {1224, 918, 26, "25.5 rounds to the even 26"},
        {1920, 1080, 33, "40 would make a frame 1282 high"},
        {1920, 1200, 37, "the largest cell whose frame fits"},
        {1920, 1282, 40, "a frame exactly as high as the screen fits"},
        {24, 24, 1, "0.5 rounds to 0, and no cell is empty"},
        {15360, 8640, 255, "the largest byte"},
        {12264, 100000, 255, "255.5 would wrap around in a byte"},
    };
    for (const Case& c : cases) EXPECT_EQ(CellaPerSchermo(c.w, c.h), c.cella) << c.w << "x" << c.h << ": " << c.why;
}

TEST(LayoutText4, LeftRoundsHalvesToEvenAndTheSizeStaysTheSameInInches) {
    EXPECT_EQ(CalcolaLayout(Screen(1280, 1024)).Text4.left, 850) << "850.5";
    // Twice the dots per inch: half the twips per pixel, twice the pixels.
    const Layout dense = CalcolaLayout(Screen(2048, 1536, 7.5));
    EXPECT_EQ(dense.Text4.width, 354);
    EXPECT_EQ(dense.Text4.height, 162);
    EXPECT_EQ(CalcolaLayout({1024, 768, 15.0, 7.5}).Text4.height, 162) << "vertical twips convert on their own";
}

}  // namespace
}  // namespace tumblara
