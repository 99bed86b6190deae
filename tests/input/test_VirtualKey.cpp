// Linux key events as Windows virtual-key codes, class by class.

#include <gtest/gtest.h>

#include <QKeyEvent>

#include "input/VirtualKey.h"

namespace tumblara {
namespace {

using namespace Qt;
constexpr int kNone = -1;
constexpr bool kPad = true;

struct Case { int key; int code; std::uint32_t scan = 0; bool keypad = false; };  // scan: X keycode or 0
constexpr Case kCases[] = {
    {Key_A, 0x41}, {Key_Z, 0x5A}, {Key_A, 0x41, 38}, {Key_Minus, 0xBD, 20}, {Key_F1, 0x70}, {Key_F12, 0x7B},
    {Key_F13, 0x7C}, {Key_F24, 0x87}, {Key_F25, kNone}, {Key_Left, 0x25}, {Key_Up, 0x26}, {Key_Right, 0x27},
    {Key_Down, 0x28}, {Key_Space, 0x20}, {Key_Return, 0x0D}, {Key_Enter, 0x0D}, {Key_Escape, 0x1B}, {Key_Tab, 0x09},
    {Key_Backtab, 0x09}, {Key_Backspace, 0x08}, {Key_Insert, 0x2D}, {Key_Delete, 0x2E}, {Key_Home, 0x24},
    {Key_End, 0x23}, {Key_PageUp, 0x21}, {Key_PageDown, 0x22},
    // The digit row by its keycode, whatever symbol the layout or Shift puts
    // on it; without a keycode, the digits and their US shifted symbols.
    {Key_Exclam, 0x31, 10}, {Key_Eacute, 0x32, 11}, {Key_ParenLeft, 0x39, 18}, {Key_ParenRight, 0x30, 19},
    {Key_0, 0x30}, {Key_9, 0x39}, {Key_Exclam, 0x31}, {Key_AsciiCircum, 0x36}, {Key_ParenLeft, 0x39},
    {Key_ParenRight, 0x30},
    // The keypad with Num Lock on has codes of its own; with it off it acts as
    // the navigation keys, its 5 as Clear.
    {Key_0, 0x60, 90, kPad}, {Key_1, 0x61, 87, kPad}, {Key_9, 0x69, 81, kPad}, {Key_Asterisk, 0x6A, 0, kPad},
    {Key_Plus, 0x6B, 0, kPad}, {Key_Minus, 0x6D, 0, kPad}, {Key_Period, 0x6E, 0, kPad}, {Key_Comma, 0x6E, 0, kPad},
    {Key_Slash, 0x6F, 0, kPad}, {Key_Enter, 0x0D, 0, kPad}, {Key_Home, 0x24, 79, kPad}, {Key_Clear, 0x0C, 84, kPad},
    {Key_Down, 0x28, 88, kPad}, {Key_Insert, 0x2D, 90, kPad},
    // Modifiers of either side; punctuation as the US key that carries it.
    {Key_Shift, 0x10, 50}, {Key_Shift, 0x10, 62}, {Key_Control, 0x11, 105}, {Key_Alt, 0x12, 64},
    {Key_AltGr, 0x12, 108}, {Key_Semicolon, 0xBA}, {Key_Colon, 0xBA}, {Key_Equal, 0xBB}, {Key_Plus, 0xBB},
    {Key_Comma, 0xBC}, {Key_Less, 0xBC}, {Key_Minus, 0xBD}, {Key_Underscore, 0xBD}, {Key_Period, 0xBE},
    {Key_Greater, 0xBE}, {Key_Slash, 0xBF}, {Key_Question, 0xBF}, {Key_QuoteLeft, 0xC0}, {Key_AsciiTilde, 0xC0},
    {Key_BracketLeft, 0xDB}, {Key_BraceLeft, 0xDB}, {Key_Backslash, 0xDC}, {Key_Bar, 0xDC},
    {Key_BracketRight, 0xDD}, {Key_BraceRight, 0xDD}, {Key_Apostrophe, 0xDE}, {Key_QuoteDbl, 0xDE},
    {0, kNone}, {Key_unknown, kNone}, {Key_unknown, kNone, 0, kPad}, {Key_Adiaeresis, kNone}, {Key_Eacute, kNone},
    {Key_Dead_Grave, kNone}, {Key_VolumeUp, kNone}, {Key_Launch0, kNone},
};

TEST(VirtualKey, EachKeyEventGivesItsWindowsCodeOrNone) {
    for (const Case& c : kCases) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.keypad ? KeypadModifier : NoModifier, c.scan, 0, 0);
        EXPECT_EQ(VirtualKeyCode(event).value_or(kNone), c.code)
            << std::hex << "key 0x" << c.key << " keycode " << std::dec << c.scan << (c.keypad ? " keypad" : "");
    }
}

}  // namespace
}  // namespace tumblara
