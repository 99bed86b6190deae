#pragma once
// Qt's key events as the game's key codes, through the keyboard's places
// (input/TastiFisici.h):
// - a key of the main block by its place, from the native key code;
// - a named key (arrows, function keys, modifiers, the keypad) by its Qt key,
//   so that the keypad follows Num Lock as the layout reports it;
// - without a native key code (synthesised events), a symbol by the US key
//   that carries it ('!' is the 1 key, ':' the ; key).

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
