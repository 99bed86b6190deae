#include "input/VirtualKey.h"

#include <QKeyEvent>
#include <array>

namespace tumblara {
namespace {

// A run of consecutive Qt keys mapped to consecutive codes.
struct Run {
    int firstKey;
    int lastKey;
    std::int16_t firstCode;
};

struct Entry {
    int key;
    std::int16_t code;
};

constexpr std::array kRuns{
    Run{Qt::Key_A, Qt::Key_Z, 0x41},
    Run{Qt::Key_0, Qt::Key_9, 0x30},
    Run{Qt::Key_F1, Qt::Key_F24, 0x70},
    Run{Qt::Key_Left, Qt::Key_Down, 0x25},  // Left, Up, Right, Down in both orders
};

constexpr std::array kKeys{
    Entry{Qt::Key_Space, 0x20},
    Entry{Qt::Key_Escape, 0x1B},
    Entry{Qt::Key_Tab, 0x09},
    Entry{Qt::Key_Backtab, 0x09},  // Shift+Tab
    Entry{Qt::Key_Backspace, 0x08},
    Entry{Qt::Key_Return, 0x0D},
    Entry{Qt::Key_Enter, 0x0D},
    Entry{Qt::Key_Insert, 0x2D},
    Entry{Qt::Key_Delete, 0x2E},
    Entry{Qt::Key_Pause, 0x13},
    Entry{Qt::Key_Print, 0x2C},
    Entry{Qt::Key_SysReq, 0x2C},
    Entry{Qt::Key_Clear, 0x0C},  // keypad 5 with Num Lock off
    Entry{Qt::Key_Home, 0x24},
    Entry{Qt::Key_End, 0x23},
    Entry{Qt::Key_PageUp, 0x21},
    Entry{Qt::Key_PageDown, 0x22},
    // Either side: the key-down of a modifier carries the generic code.
    Entry{Qt::Key_Shift, 0x10},
    Entry{Qt::Key_Control, 0x11},
    Entry{Qt::Key_Alt, 0x12},
    Entry{Qt::Key_AltGr, 0x12},
    Entry{Qt::Key_Super_L, 0x5B},
    Entry{Qt::Key_Super_R, 0x5C},
    Entry{Qt::Key_Menu, 0x5D},
    Entry{Qt::Key_CapsLock, 0x14},
    Entry{Qt::Key_NumLock, 0x90},
    Entry{Qt::Key_ScrollLock, 0x91},
    // Punctuation keys, unshifted and shifted.
    Entry{Qt::Key_Semicolon, 0xBA},
    Entry{Qt::Key_Colon, 0xBA},
    Entry{Qt::Key_Equal, 0xBB},
    Entry{Qt::Key_Plus, 0xBB},
    Entry{Qt::Key_Comma, 0xBC},
    Entry{Qt::Key_Less, 0xBC},
    Entry{Qt::Key_Minus, 0xBD},
    Entry{Qt::Key_Underscore, 0xBD},
    Entry{Qt::Key_Period, 0xBE},
    Entry{Qt::Key_Greater, 0xBE},
    Entry{Qt::Key_Slash, 0xBF},
    Entry{Qt::Key_Question, 0xBF},
    Entry{Qt::Key_QuoteLeft, 0xC0},
    Entry{Qt::Key_AsciiTilde, 0xC0},
    Entry{Qt::Key_BracketLeft, 0xDB},
    Entry{Qt::Key_BraceLeft, 0xDB},
    Entry{Qt::Key_Backslash, 0xDC},
    Entry{Qt::Key_Bar, 0xDC},
    Entry{Qt::Key_BracketRight, 0xDD},
    Entry{Qt::Key_BraceRight, 0xDD},
    Entry{Qt::Key_Apostrophe, 0xDE},
    Entry{Qt::Key_QuoteDbl, 0xDE},
    // Shifted digits, for platforms that give no keycode.
    Entry{Qt::Key_Exclam, 0x31},
    Entry{Qt::Key_At, 0x32},
    Entry{Qt::Key_NumberSign, 0x33},
    Entry{Qt::Key_Dollar, 0x34},
    Entry{Qt::Key_Percent, 0x35},
    Entry{Qt::Key_AsciiCircum, 0x36},
    Entry{Qt::Key_Ampersand, 0x37},
    Entry{Qt::Key_Asterisk, 0x38},
    Entry{Qt::Key_ParenLeft, 0x39},
    Entry{Qt::Key_ParenRight, 0x30},
};

// Keys that carry the keypad modifier and have codes of their own. Other
// keypad keys (Home, End, the arrows with Num Lock off, Enter) share the
// main keys' codes.
constexpr std::array kKeypadRuns{
    Run{Qt::Key_0, Qt::Key_9, 0x60},
};

constexpr std::array kKeypadKeys{
    Entry{Qt::Key_Asterisk, 0x6A},
    Entry{Qt::Key_Plus, 0x6B},
    Entry{Qt::Key_Minus, 0x6D},
    Entry{Qt::Key_Period, 0x6E},
    Entry{Qt::Key_Comma, 0x6E},  // the decimal key of layouts with a decimal comma
    Entry{Qt::Key_Slash, 0x6F},
};

template <std::size_t R, std::size_t E>
constexpr std::optional<std::int16_t> Find(const std::array<Run, R>& runs, const std::array<Entry, E>& keys,
                                           int qtKey) {
    for (const Run& r : runs)
        if (qtKey >= r.firstKey && qtKey <= r.lastKey)
            return static_cast<std::int16_t>(r.firstCode + (qtKey - r.firstKey));
    for (const Entry& e : keys)
        if (e.key == qtKey) return e.code;
    return std::nullopt;
}

}  // namespace

std::optional<std::int16_t> VirtualKeyCode(int qtKey, bool keypad, std::uint32_t nativeScanCode) {
    if (keypad) {
        if (auto code = Find(kKeypadRuns, kKeypadKeys, qtKey)) return code;
    } else if (nativeScanCode >= kScanCodeDigit1 && nativeScanCode <= kScanCodeDigit0) {
        // The digit row: 10..18 are 1..9, 19 is 0.
        if (nativeScanCode == kScanCodeDigit0) return 0x30;
        return static_cast<std::int16_t>(0x31 + (nativeScanCode - kScanCodeDigit1));
    }
    return Find(kRuns, kKeys, qtKey);
}

std::optional<std::int16_t> VirtualKeyCode(const QKeyEvent& event) {
    return VirtualKeyCode(event.key(), event.modifiers().testFlag(Qt::KeypadModifier), event.nativeScanCode());
}

}  // namespace tumblara
