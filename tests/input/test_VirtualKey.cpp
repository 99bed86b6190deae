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
    // The ends of each run of keys, and keys from the lookup table.
    {Key_A, 0x41, 38}, {Key_Z, 0x5A}, {Key_F1, 0x70}, {Key_F24, 0x87}, {Key_F25, kNone}, {Key_Left, 0x25},
    {Key_Down, 0x28}, {Key_Space, 0x20}, {Key_Enter, 0x0D}, {Key_Semicolon, 0xBA}, {Key_Colon, 0xBA},
    {Key_Shift, 0x10, 62}, {Key_AltGr, 0x12, 108},
    // The digit row by its keycode (10..19, and 20 is not in it), whatever
    // symbol the layout or Shift puts on it; without a keycode, the digits
    // and their US shifted symbols.
    {Key_Exclam, 0x31, 10}, {Key_Eacute, 0x32, 11}, {Key_ParenLeft, 0x39, 18}, {Key_ParenRight, 0x30, 19},
    {Key_Minus, 0xBD, 20}, {Key_0, 0x30}, {Key_9, 0x39}, {Key_Exclam, 0x31}, {Key_ParenRight, 0x30},
    // The keypad with Num Lock on has codes of its own; with it off it acts as
    // the navigation keys, its 5 as Clear.
    {Key_0, 0x60, 90, kPad}, {Key_9, 0x69, 81, kPad}, {Key_Asterisk, 0x6A, 0, kPad}, {Key_Comma, 0x6E, 0, kPad},
    {Key_Enter, 0x0D, 0, kPad}, {Key_Home, 0x24, 79, kPad}, {Key_Clear, 0x0C, 84, kPad},
    {0, kNone}, {Key_unknown, kNone}, {Key_unknown, kNone, 0, kPad}, {Key_Adiaeresis, kNone}, {Key_Eacute, kNone},
    {Key_Dead_Grave, kNone}, {Key_VolumeUp, kNone},
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
