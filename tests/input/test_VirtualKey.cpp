// The mapping from Linux key events to Windows virtual-key codes, class by class.

#include <gtest/gtest.h>

#include <Qt>
#include <cstdint>
#include <optional>

#include "input/VirtualKey.h"

namespace tumblara {
namespace {

using Code = std::optional<std::int16_t>;

Code Key(int qtKey, std::uint32_t scan = 0) { return VirtualKeyCode(qtKey, false, scan); }
Code Keypad(int qtKey, std::uint32_t scan = 0) { return VirtualKeyCode(qtKey, true, scan); }

TEST(VirtualKey, LettersGiveTheirCapitalCode) {
    for (int letter = 'A'; letter <= 'Z'; ++letter) EXPECT_EQ(Key(Qt::Key_A + (letter - 'A')), Code(letter));
}

TEST(VirtualKey, TopRowDigitsComeFromTheKeycodeWhateverSymbolShiftGives) {
    EXPECT_EQ(Key(Qt::Key_1, 10), Code(0x31));
    EXPECT_EQ(Key(Qt::Key_Exclam, 10), Code(0x31));
    EXPECT_EQ(Key(Qt::Key_At, 11), Code(0x32));
    EXPECT_EQ(Key(Qt::Key_ParenLeft, 18), Code(0x39));
    EXPECT_EQ(Key(Qt::Key_ParenRight, 19), Code(0x30));
    // A layout whose digit row shows symbols unshifted still gives the digits.
    EXPECT_EQ(Key(Qt::Key_Ampersand, 10), Code(0x31));
    EXPECT_EQ(Key(Qt::Key_Eacute, 11), Code(0x32));
}

TEST(VirtualKey, WithoutAKeycodeDigitsAndTheirShiftedSymbolsFollowTheUsLayout) {
    for (int d = 0; d <= 9; ++d) EXPECT_EQ(Key(Qt::Key_0 + d), Code(0x30 + d)) << d;
    EXPECT_EQ(Key(Qt::Key_Exclam), Code(0x31));
    EXPECT_EQ(Key(Qt::Key_AsciiCircum), Code(0x36));
    EXPECT_EQ(Key(Qt::Key_Asterisk), Code(0x38));
    EXPECT_EQ(Key(Qt::Key_ParenRight), Code(0x30));
}

TEST(VirtualKey, KeysOutsideTheDigitRowIgnoreTheKeycode) {
    EXPECT_EQ(Key(Qt::Key_A, 38), Code(0x41));
    EXPECT_EQ(Key(Qt::Key_Minus, 20), Code(0xBD));
    EXPECT_EQ(Key(Qt::Key_Space, 65), Code(0x20));
}

TEST(VirtualKey, ArrowsAndEditingKeys) {
    const std::pair<int, int> pairs[] = {
        {Qt::Key_Left, 0x25},   {Qt::Key_Up, 0x26},       {Qt::Key_Right, 0x27},    {Qt::Key_Down, 0x28},
        {Qt::Key_Space, 0x20},  {Qt::Key_Return, 0x0D},   {Qt::Key_Enter, 0x0D},    {Qt::Key_Escape, 0x1B},
        {Qt::Key_Tab, 0x09},    {Qt::Key_Backtab, 0x09},  {Qt::Key_Backspace, 0x08}, {Qt::Key_Insert, 0x2D},
        {Qt::Key_Delete, 0x2E}, {Qt::Key_Home, 0x24},     {Qt::Key_End, 0x23},      {Qt::Key_PageUp, 0x21},
        {Qt::Key_PageDown, 0x22},
    };
    for (const auto& [key, code] : pairs) EXPECT_EQ(Key(key), Code(code)) << std::hex << key;
}

TEST(VirtualKey, FunctionKeysOneToTwentyFour) {
    EXPECT_EQ(Key(Qt::Key_F1), Code(0x70));
    EXPECT_EQ(Key(Qt::Key_F12), Code(0x7B));
    EXPECT_EQ(Key(Qt::Key_F13), Code(0x7C));
    EXPECT_EQ(Key(Qt::Key_F24), Code(0x87));
    EXPECT_EQ(Key(Qt::Key_F25), std::nullopt);
}

TEST(VirtualKey, KeypadWithNumLockOnHasItsOwnDigitsAndOperators) {
    for (int d = 0; d <= 9; ++d) EXPECT_EQ(Keypad(Qt::Key_0 + d), Code(0x60 + d)) << d;
    EXPECT_EQ(Keypad(Qt::Key_1, 87), Code(0x61)) << "the keypad 1 is not the digit-row 1";
    EXPECT_EQ(Keypad(Qt::Key_Asterisk), Code(0x6A));
    EXPECT_EQ(Keypad(Qt::Key_Plus), Code(0x6B));
    EXPECT_EQ(Keypad(Qt::Key_Minus), Code(0x6D));
    EXPECT_EQ(Keypad(Qt::Key_Period), Code(0x6E));
    EXPECT_EQ(Keypad(Qt::Key_Comma), Code(0x6E));
    EXPECT_EQ(Keypad(Qt::Key_Slash), Code(0x6F));
    EXPECT_EQ(Keypad(Qt::Key_Enter), Code(0x0D));
}

TEST(VirtualKey, KeypadWithNumLockOffActsAsTheNavigationKeys) {
    struct Case {
        int key;
        std::uint32_t scan;  // the keypad key's X keycode
        int code;
    };
    const Case cases[] = {
        {Qt::Key_Home, 79, 0x24}, {Qt::Key_Up, 80, 0x26},    {Qt::Key_PageUp, 81, 0x21},
        {Qt::Key_Left, 83, 0x25}, {Qt::Key_Clear, 84, 0x0C}, {Qt::Key_Right, 85, 0x27},
        {Qt::Key_End, 87, 0x23},  {Qt::Key_Down, 88, 0x28},  {Qt::Key_PageDown, 89, 0x22},
        {Qt::Key_Insert, 90, 0x2D}, {Qt::Key_Delete, 91, 0x2E},
    };
    for (const Case& c : cases) EXPECT_EQ(Keypad(c.key, c.scan), Code(c.code)) << std::hex << c.key;
}

TEST(VirtualKey, ModifiersGiveOneCodeForEitherSide) {
    EXPECT_EQ(Key(Qt::Key_Shift, 50), Code(0x10));
    EXPECT_EQ(Key(Qt::Key_Shift, 62), Code(0x10));
    EXPECT_EQ(Key(Qt::Key_Control, 37), Code(0x11));
    EXPECT_EQ(Key(Qt::Key_Control, 105), Code(0x11));
    EXPECT_EQ(Key(Qt::Key_Alt, 64), Code(0x12));
    EXPECT_EQ(Key(Qt::Key_AltGr, 108), Code(0x12));
}

TEST(VirtualKey, PunctuationGivesTheUsKeyOfTheSymbolShiftedOrNot) {
    const std::pair<int, int> pairs[] = {
        {Qt::Key_Semicolon, 0xBA}, {Qt::Key_Colon, 0xBA},        {Qt::Key_Equal, 0xBB},
        {Qt::Key_Plus, 0xBB},      {Qt::Key_Comma, 0xBC},        {Qt::Key_Less, 0xBC},
        {Qt::Key_Minus, 0xBD},     {Qt::Key_Underscore, 0xBD},   {Qt::Key_Period, 0xBE},
        {Qt::Key_Greater, 0xBE},   {Qt::Key_Slash, 0xBF},        {Qt::Key_Question, 0xBF},
        {Qt::Key_QuoteLeft, 0xC0}, {Qt::Key_AsciiTilde, 0xC0},   {Qt::Key_BracketLeft, 0xDB},
        {Qt::Key_BraceLeft, 0xDB}, {Qt::Key_Backslash, 0xDC},    {Qt::Key_Bar, 0xDC},
        {Qt::Key_BracketRight, 0xDD}, {Qt::Key_BraceRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE},
        {Qt::Key_QuoteDbl, 0xDE},
    };
    for (const auto& [key, code] : pairs) EXPECT_EQ(Key(key), Code(code)) << std::hex << key;
}

TEST(VirtualKey, KeysWithoutACodeGiveNothing) {
    for (int key : {0, int(Qt::Key_unknown), int(Qt::Key_Adiaeresis), int(Qt::Key_Dead_Grave),
                    int(Qt::Key_VolumeUp), int(Qt::Key_Launch0), int(Qt::Key_Eacute)})
        EXPECT_EQ(Key(key), std::nullopt) << std::hex << key;
    EXPECT_EQ(Keypad(Qt::Key_unknown), std::nullopt);
}

}  // namespace
}  // namespace tumblara
