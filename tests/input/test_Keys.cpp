// Keys on the fake window system: the latches, repetition and auto-repeat
// behind the main window's key events, and the keyboard's places and their
// codes. The capture dialog is tested in the options window's sequence.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

#include "input/Keyboard.h"
#include "input/TastiFisici.h"
#include "tests/support/FakeWindowSystem.h"

namespace tumblara::testing {
namespace {

// Whether repetition is on, the actions bound to A, the events and the outcome.
// One letter per event: R L D S A V press Right, Left, Down, Space, A and a
// key with no code; u releases; + is an auto-repeat of the last key pressed
// (a release and a press, as X11 and Wayland send them); x takes the keyboard
// away; p stops or restarts play. The outcome is block 1's column, the
// rotation state and the fast drops started.
constexpr std::tuple<bool, const char*, const char*, const char*> kScripts[] = {
    {false, "", "R+++++", "7 0 0"},  {false, "", "RRuR", "8 0 0"},  {false, "", "RLSDuL", "6 0 0"},
    {false, "", "AR", "7 0 0"},      {false, "", "S++", "6 3 0"},   {false, "", "RDxR", "8 0 0"},
    {false, "", "pRLDSAp", "6 0 0"}, {false, "", "RpupR", "8 0 0"}, {false, "RLDS", "A", "7 0 0"},
    {false, "DS", "A", "6 0 1"},     {true, "", "R++L", "8 0 0"},   {true, "", "S++uD++", "6 3 1"},
    {true, "", "DSR", "7 0 1"},      {true, "", "DuSuD", "6 3 2"},  {true, "", "DAS", "6 3 1"},
    {true, "", "DVS", "6 3 1"},      {true, "", "DxD", "6 0 2"},
};

TEST(Keys, ScriptsOfKeyEventsFollowTheLatchesRepetitionAndFirstMatch) {
    constexpr std::string_view kLetters = "RLDSAV";
    constexpr std::array kCodes{kVkRight, kVkLeft, kVkDown, kVkSpace, 0x41, 0};
    for (const auto& [repeat, onA, events, expected] : kScripts) {
        ProgramOnFake p;
        p.PlayATInColumnSix();
        Repetition(p.state, repeat ? 1 : 2);
        for (char a : std::string_view(onA)) SetKey(p.state, static_cast<int>(kLetters.find(a)) + 1, 0x41);
        WindowEvents& main = p.To(FormId::frmGame);
        int last = 0;
        for (char e : std::string_view(events)) {
            if (const auto i = kLetters.find(e); i != std::string_view::npos) {
                last = kCodes[i];
                main.KeyDown(last, false);
            }
            if (e == 'u' || e == '+') main.KeyUp(last, e == '+');
            if (e == '+') main.KeyDown(last, true);
            if (e == 'x') main.Deactivate();
            if (e == 'p') p.state.InGioco = !p.state.InGioco;
        }
        const auto drops = std::ranges::count(p.sys.log, std::string_view("timer1 20"));  // each fast drop's start
        const std::string outcome = std::to_string(p.Column()) + " " + std::to_string(p.state.RotPezzo) + " ";
        EXPECT_EQ(outcome + std::to_string(drops), expected) << events << (repeat ? " repeating" : "");
    }
}

// Each place of the main block, and the ISO key, has a code of its own; the
// rows give the US keyboard's letters and digits; the keypad follows Num Lock.
TEST(KeyCodes, EveryPlaceOfTheMainBlockHasACodeOfItsOwnAndTheRowsAreTheUSKeyboards) {
    std::set<std::int16_t> codes;
    // Each row's first and last evdev code, and the digits or letters it starts with.
    const std::tuple<int, int, std::string_view> rows[] = {
        {2, 13, "1234567890"}, {16, 27, "QWERTYUIOP"}, {30, 41, "ASDFGHJKL"}, {43, 53, ""}, {86, 86, ""}};
    for (const auto& [first, last, keys] : rows)
        for (int evdev = first; evdev <= last; ++evdev) {
            const TastoFisico* t = TastoPerEvdev(evdev);
            ASSERT_NE(t, nullptr) << "evdev " << evdev;
            EXPECT_TRUE(t->perPosto) << "evdev " << evdev;
            EXPECT_TRUE(codes.insert(CodiceDelTasto(t, true)).second) << "evdev " << evdev;
            if (const auto i = static_cast<std::size_t>(evdev - first); i < keys.size()) {
                const char key = keys[i];
                EXPECT_EQ(CodiceDelTasto(t, true), key);
                EXPECT_EQ(CodiceDelTasto((key <= '9' ? "Digit" : "Key") + std::string(1, key), true), key);
            }
        }
    EXPECT_EQ(CodiceDelTasto("Numpad7", true), 0x67);
    EXPECT_EQ(CodiceDelTasto("Numpad7", false), CodiceDelTasto("Home", true));
    EXPECT_EQ(CodiceDelTasto("Unidentified", true), 0);
}

}  // namespace
}  // namespace tumblara::testing
