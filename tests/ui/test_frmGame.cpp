// The main window: where its elements stand, from the screen size alone; and on
// the fake window system the menu and its highlight, the information text,
// activation before and after the first game, the input it refuses while the
// options window is open, and the window system's close.

#include <gtest/gtest.h>

#include "tests/support/FakeWindowSystem.h"
#include "ui/Colori.h"
#include "ui/Layout.h"

namespace tumblara::testing {
namespace {

constexpr auto kMain = FormId::frmGame;

TEST(Layout, EveryElementStandsInCellsOfAFortyEighthOfTheWidthLoweredToFitTheHeight) {
    const Layout l = CalcolaLayout({1024, 768, 15.0, 15.0});  // cells of 21 pixels
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

// One menu label lit at a time, until the pointer crosses the background;
// the score label has no handler and changes nothing.
TEST(Menu, ThePointerLightsOneLabelUntilItCrossesTheBackground) {
    ProgramOnFake p;
    const auto lit = [&] {
        std::string text;
        for (ElementId e : {ElementId::Menu0, ElementId::Menu1, ElementId::Menu2, ElementId::Menu3, ElementId::Menu4})
            text += p.sys.Colours(e) == std::pair(kBianco, kRossoScuro) ? '*' : '.';
        return text;
    };
    EXPECT_EQ(lit(), ".....");
    const std::pair<ElementId, const char*> moves[] = {
        {ElementId::Menu1, ".*..."}, {ElementId::Menu2, ".*..."}, {ElementId::Label2, ".*..."},
        {ElementId::Background, "....."}, {ElementId::Menu4, "....*"}};
    for (const auto& [over, after] : moves) {
        p.To(kMain).MouseMove(over);
        EXPECT_EQ(lit(), after) << static_cast<int>(over);
    }
    EXPECT_EQ(p.sys.Colours(ElementId::Menu1), std::pair(kMenuTesto, kNero)) << "put out as it was";
}

// Before the first game "Pausa" neither pauses nor waits. "Info" shows and
// hides the information text; a click on the text or on the background hides
// it, and a click on another menu label leaves it.
TEST(Menu, PausaWaitsForAFirstGameAndTheInformationTextHidesOnAClickOnItOrOnTheBackground) {
    ProgramOnFake p;  // never activated: no game yet
    const std::pair<ElementId, bool> clicks[] = {  // where, and whether the text shows after it
        {ElementId::Menu1, false}, {ElementId::Menu4, true},  {ElementId::Menu1, true},
        {ElementId::Text4, false}, {ElementId::Menu4, true},  {ElementId::Menu4, false},
        {ElementId::Menu4, true},  {ElementId::Background, false}};
    int at = 0;
    for (const auto& [where, shown] : clicks)
        p.At(at += 10, [&p, where, shown, at] {
            p.Click(kMain, where);
            EXPECT_EQ(p.sys.Shown(ElementId::Text4), shown) << "at " << at;
        });
    EXPECT_TRUE(p.RunFor(at + 10)) << "no wait left pending";
    EXPECT_EQ(p.sys.Text(ElementId::Menu1), "Pausa");
}

// An activation before the first game enters the game over and waits there
// (the run ends with the wait pending); after it, an activation neither ends
// nor pauses the game.
TEST(MainWindow, AnActivationEntersTheGameOverOnlyBeforeTheFirstGame) {
    for (const bool first : {true, false}) {
        ProgramOnFake p;
        p.state.NessunaPartita = first;
        p.PlayATInColumnSix();
        p.At(0, [&] { p.To(kMain).Activate(); });
        EXPECT_EQ(p.RunFor(1000), !first) << "no wait left pending";
        EXPECT_EQ(p.sys.Text(ElementId::Label3) == "Game Over", first);
        EXPECT_EQ(p.state.InGioco, !first);
    }
}

// While the options window is open the main window takes no key and no
// pointer, and the game goes on; afterwards the keys are the game's again.
TEST(MainWindow, TakesNoInputWhileTheOptionsAreOpenAndTheGameGoesOn) {
    ProgramOnFake p;
    p.PlayATInColumnSix();
    p.sys.SetTimerInterval(TimerId::Timer1, 300);
    p.At(0, [&] { p.Click(kMain, ElementId::Menu3); });
    p.At(10, [&] {
        p.To(kMain).KeyDown(kVkRight, false);
        p.To(kMain).MouseMove(ElementId::Menu0);
        p.Click(kMain, ElementId::Menu4);
    });
    p.At(1000, [&] {
        EXPECT_EQ(p.Column(), 6);
        EXPECT_EQ(p.sys.Colours(ElementId::Menu0), std::pair(kMenuTesto, kNero));
        EXPECT_FALSE(p.sys.Shown(ElementId::Text4));
        EXPECT_EQ(p.sys.SpriteTop(1), 13.0f * p.state.Cella) << "three ticks fell";
        p.Click(FormId::frmOption, ElementId::Opzione2);
    });
    p.At(1010, [&] { p.To(kMain).KeyDown(kVkRight, false); });
    p.RunFor(1020);
    EXPECT_EQ(p.Column(), 7) << "the keys are the game's again";
}

// Closed by the window system, the main window ends the program as "Esci" does.
TEST(MainWindow, TheWindowSystemsCloseEndsTheProgram) {
    ProgramOnFake p;
    p.To(kMain).CloseRequest();
    EXPECT_TRUE(p.sys.HasQuit());
}

}  // namespace
}  // namespace tumblara::testing
