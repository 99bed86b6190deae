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
    EXPECT_DOUBLE_EQ(l.Text4LeftExact, 661.5);
    // 661.5 rounds half to even: 662. 2652 x 1212 twips at 15 twips per pixel.
    EXPECT_EQ(l.Text4, (PixelRect{662, 168, 177, 81}));
    EXPECT_EQ(l.Shape2, (PixelRect{19, 0, 340, 674}));
    EXPECT_EQ(l.Shape1, (PixelRect{0, -42, 21, 21})) << "sprites parked above the top edge";
}

TEST(LayoutCella, FourThreeScreensTakeAFortyEighthOfTheWidth) {
    EXPECT_EQ(CellaPerSchermo(640, 480), 13);
    EXPECT_EQ(CellaPerSchermo(800, 600), 17);
    EXPECT_EQ(CellaPerSchermo(1024, 768), 21);
    EXPECT_EQ(CellaPerSchermo(1280, 1024), 27);
}

TEST(LayoutCella, HalvesRoundToTheEvenNeighbour) {
    EXPECT_EQ(CellaPerSchermo(1176, 882), 24) << "24.5";
    EXPECT_EQ(CellaPerSchermo(1224, 918), 26) << "25.5";
}

TEST(LayoutCella, WideScreensLowerTheCellUntilTheFrameFits) {
    // 1920 / 48 = 40 would make a frame 1282 pixels high.
    const int c = CellaPerSchermo(1920, 1080);
    EXPECT_EQ(c, 33);
    EXPECT_LE(32 * c + 2, 1080);
    EXPECT_GT(32 * (c + 1) + 2, 1080) << "the largest cell that fits";
    EXPECT_EQ(CellaPerSchermo(1920, 1200), 37);
    EXPECT_EQ(CellaPerSchermo(1920, 1282), 40) << "a frame exactly as high as the screen fits";
}

TEST(LayoutCella, StaysWithinOneByteAtBothExtremes) {
    EXPECT_EQ(CellaPerSchermo(24, 24), 1) << "0.5 rounds to 0, and no cell is empty";
    EXPECT_EQ(CellaPerSchermo(15360, 8640), 255);
    EXPECT_EQ(CellaPerSchermo(12240, 100000), 255) << "255 exactly";
    EXPECT_EQ(CellaPerSchermo(12264, 100000), 255) << "255.5 would wrap around in a byte";
}

TEST(LayoutGeometry, OddCellPutsTheInformationBoxOnAnEvenHalf) {
    // 31.5 * 27 = 850.5: ties go to the even neighbour, down here.
    const Layout l = CalcolaLayout(Screen(1280, 1024));
    EXPECT_DOUBLE_EQ(l.Text4LeftExact, 850.5);
    EXPECT_EQ(l.Text4.left, 850);
    // 31.5 * 13 = 409.5 goes up to 410.
    EXPECT_EQ(CalcolaLayout(Screen(640, 480)).Text4.left, 410);
}

TEST(LayoutGeometry, InformationBoxKeepsItsSizeInInchesOnDenserScreens) {
    // Twice the dots per inch: half the twips per pixel, twice the pixels.
    const Layout l = CalcolaLayout(Screen(2048, 1536, 7.5));
    EXPECT_EQ(l.Text4.width, 354);
    EXPECT_EQ(l.Text4.height, 162);
    EXPECT_EQ(CalcolaLayout({1024, 768, 15.0, 7.5}).Text4.height, 162) << "vertical twips convert on their own";
}

}  // namespace
}  // namespace tumblara
