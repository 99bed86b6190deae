#pragma once
// Linux key events as Windows virtual-key codes: the codes the bindings hold
// and the key handlers compare. The layout is read as a US keyboard: a symbol
// gives the code of the key that carries it ('!' is the 1 key, ':' the ; key).

#include <cstdint>
#include <optional>

class QKeyEvent;

namespace tumblara {

// X keycodes (evdev + 8) of the top-row digit keys 1..9, 0. Shift turns their
// Qt key into a symbol, but the keycode stays.
inline constexpr std::uint32_t kScanCodeDigit1 = 10;
inline constexpr std::uint32_t kScanCodeDigit0 = 19;

// `qtKey` is QKeyEvent::key(), `keypad` whether the keypad modifier is set,
// `nativeScanCode` the X keycode or 0 when the platform gives none.
// A key with no code gives nullopt.
std::optional<std::int16_t> VirtualKeyCode(int qtKey, bool keypad, std::uint32_t nativeScanCode);
std::optional<std::int16_t> VirtualKeyCode(const QKeyEvent& event);

}  // namespace tumblara
