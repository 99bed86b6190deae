#pragma once
// Linux key events as Windows virtual-key codes: the codes the bindings hold
// and the key handlers compare.
// - The keys of the main block (digits, letters and the punctuation around
//   them, the ISO key beside left Shift) are known by their place on the
//   keyboard, from the native key code, and get the codes a US keyboard has
//   in that place. Whatever the layout prints on a key, dead keys and AltGr
//   levels included, each key keeps one code of its own.
// - Named keys (arrows, function keys, modifiers, the keypad) by their Qt key.
// - Without a native key code (synthesised events), a symbol gives the code
//   of the US key that carries it ('!' is the 1 key, ':' the ; key).

#include <cstdint>
#include <optional>

class QKeyEvent;

namespace tumblara {

// `qtKey` is QKeyEvent::key(), `keypad` whether the keypad modifier is set,
// `nativeScanCode` the X keycode (evdev + 8, on X11 and Wayland alike) or 0
// when the platform gives none. A key with no code gives nullopt.
std::optional<std::int16_t> VirtualKeyCode(int qtKey, bool keypad, std::uint32_t nativeScanCode);
std::optional<std::int16_t> VirtualKeyCode(const QKeyEvent& event);

}  // namespace tumblara
