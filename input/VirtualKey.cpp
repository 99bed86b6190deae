#include "input/VirtualKey.h"

#include <QKeyEvent>
#include <array>
#include <initializer_list>

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
    Entry{Qt::Key_VolumeMute, 0xAD},
    Entry{Qt::Key_VolumeDown, 0xAE},
    Entry{Qt::Key_VolumeUp, 0xAF},
    Entry{Qt::Key_MediaNext, 0xB0},
    Entry{Qt::Key_MediaPrevious, 0xB1},
    Entry{Qt::Key_MediaStop, 0xB2},
    Entry{Qt::Key_MediaTogglePlayPause, 0xB3},
    Entry{Qt::Key_MediaPlay, 0xB3},
    // Punctuation keys, unshifted and shifted.
    Entry{Qt::Key_Semicolon, 0xBA},
    Entry{Qt::Key_Colon, 0xBA},
    Entry{Qt::Key_Equal, 0xBB},
    Entry{Qt::Key_Plus, 0xBB},
    Entry{Qt::Key_Comma, 0xBC},
    Entry{Qt::Key_Less, 0xE2},  // the ISO key's symbol
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
    // Shifted digits.
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

// The main block by X keycode: the codes of a US keyboard's keys, place by
// place. 0: not in the block.
constexpr auto kPerPlace = [] {
    std::array<std::uint8_t, 98> codes{};
    auto row = [&](std::size_t keycode, std::initializer_list<std::uint8_t> run) {
        for (const std::uint8_t code : run) codes[keycode++] = code;
    };
    row(10, {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0', 0xBD, 0xBB});
    row(24, {'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P', 0xDB, 0xDD});
    row(38, {'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L', 0xBA, 0xDE, 0xC0});
    row(51, {0xDC, 'Z', 'X', 'C', 'V', 'B', 'N', 'M', 0xBC, 0xBE, 0xBF});
    codes[94] = 0xE2;  // the ISO key beside left Shift (VK_OEM_102)
    codes[97] = 0xC1;  // the extra key beside right Shift of Brazilian and Japanese keyboards
    return codes;
}();

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
    } else if (nativeScanCode < kPerPlace.size() && kPerPlace[nativeScanCode] != 0) {
        return kPerPlace[nativeScanCode];
    }
    return Find(kRuns, kKeys, qtKey);
}

std::optional<std::int16_t> VirtualKeyCode(const QKeyEvent& event) {
    return VirtualKeyCode(event.key(), event.modifiers().testFlag(Qt::KeypadModifier), event.nativeScanCode());
}

}  // namespace tumblara
