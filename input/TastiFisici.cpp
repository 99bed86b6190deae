#include "input/TastiFisici.h"

#include <algorithm>
#include <array>

namespace tumblara {
namespace {

constexpr auto kTasti = std::to_array<TastoFisico>({
    // The main block, row by row from the digits down, then the ISO key beside
    // left Shift and the extra key beside right Shift (Brazilian, Japanese).
    {"Backquote", 41, 0xC0, true}, {"Digit1", 2, '1', true}, {"Digit2", 3, '2', true}, {"Digit3", 4, '3', true},
    {"Digit4", 5, '4', true}, {"Digit5", 6, '5', true}, {"Digit6", 7, '6', true}, {"Digit7", 8, '7', true},
    {"Digit8", 9, '8', true}, {"Digit9", 10, '9', true}, {"Digit0", 11, '0', true}, {"Minus", 12, 0xBD, true},
    {"Equal", 13, 0xBB, true}, {"KeyQ", 16, 'Q', true}, {"KeyW", 17, 'W', true}, {"KeyE", 18, 'E', true},
    {"KeyR", 19, 'R', true}, {"KeyT", 20, 'T', true}, {"KeyY", 21, 'Y', true}, {"KeyU", 22, 'U', true},
    {"KeyI", 23, 'I', true}, {"KeyO", 24, 'O', true}, {"KeyP", 25, 'P', true}, {"BracketLeft", 26, 0xDB, true},
    {"BracketRight", 27, 0xDD, true}, {"KeyA", 30, 'A', true}, {"KeyS", 31, 'S', true}, {"KeyD", 32, 'D', true},
    {"KeyF", 33, 'F', true}, {"KeyG", 34, 'G', true}, {"KeyH", 35, 'H', true}, {"KeyJ", 36, 'J', true},
    {"KeyK", 37, 'K', true}, {"KeyL", 38, 'L', true}, {"Semicolon", 39, 0xBA, true}, {"Quote", 40, 0xDE, true},
    {"Backslash", 43, 0xDC, true}, {"KeyZ", 44, 'Z', true}, {"KeyX", 45, 'X', true}, {"KeyC", 46, 'C', true},
    {"KeyV", 47, 'V', true}, {"KeyB", 48, 'B', true}, {"KeyN", 49, 'N', true}, {"KeyM", 50, 'M', true},
    {"Comma", 51, 0xBC, true}, {"Period", 52, 0xBE, true}, {"Slash", 53, 0xBF, true},
    {"IntlBackslash", 86, 0xE2, true}, {"IntlRo", 89, 0xC1, true},
    // Named keys: on either side a modifier gives the generic code.
    {"Escape", 1, 0x1B}, {"Backspace", 14, 0x08}, {"Tab", 15, 0x09}, {"Enter", 28, 0x0D}, {"Space", 57, 0x20},
    {"ShiftLeft", 42, 0x10}, {"ShiftRight", 54, 0x10}, {"ControlLeft", 29, 0x11}, {"ControlRight", 97, 0x11},
    {"AltLeft", 56, 0x12}, {"AltRight", 100, 0x12}, {"MetaLeft", 125, 0x5B}, {"MetaRight", 126, 0x5C},
    {"ContextMenu", 127, 0x5D}, {"CapsLock", 58, 0x14}, {"NumLock", 69, 0x90}, {"ScrollLock", 70, 0x91},
    {"PrintScreen", 99, 0x2C}, {"Pause", 119, 0x13}, {"Insert", 110, 0x2D}, {"Delete", 111, 0x2E},
    {"Home", 102, 0x24}, {"End", 107, 0x23}, {"PageUp", 104, 0x21}, {"PageDown", 109, 0x22},
    {"ArrowLeft", 105, 0x25}, {"ArrowUp", 103, 0x26}, {"ArrowRight", 106, 0x27}, {"ArrowDown", 108, 0x28},
    {"F1", 59, 0x70}, {"F2", 60, 0x71}, {"F3", 61, 0x72}, {"F4", 62, 0x73}, {"F5", 63, 0x74}, {"F6", 64, 0x75},
    {"F7", 65, 0x76}, {"F8", 66, 0x77}, {"F9", 67, 0x78}, {"F10", 68, 0x79}, {"F11", 87, 0x7A}, {"F12", 88, 0x7B},
    {"F13", 183, 0x7C}, {"F14", 184, 0x7D}, {"F15", 185, 0x7E}, {"F16", 186, 0x7F}, {"F17", 187, 0x80},
    {"F18", 188, 0x81}, {"F19", 189, 0x82}, {"F20", 190, 0x83}, {"F21", 191, 0x84}, {"F22", 192, 0x85},
    {"F23", 193, 0x86}, {"F24", 194, 0x87}, {"AudioVolumeMute", 113, 0xAD}, {"AudioVolumeDown", 114, 0xAE},
    {"AudioVolumeUp", 115, 0xAF}, {"MediaTrackNext", 163, 0xB0}, {"MediaTrackPrevious", 165, 0xB1},
    {"MediaStop", 166, 0xB2}, {"MediaPlayPause", 164, 0xB3},
    // The keypad: with Num Lock off the digits and the decimal key are the
    // navigation keys printed on them (5 is Clear).
    {"Numpad0", 82, 0x60, false, 0x2D}, {"Numpad1", 79, 0x61, false, 0x23}, {"Numpad2", 80, 0x62, false, 0x28},
    {"Numpad3", 81, 0x63, false, 0x22}, {"Numpad4", 75, 0x64, false, 0x25}, {"Numpad5", 76, 0x65, false, 0x0C},
    {"Numpad6", 77, 0x66, false, 0x27}, {"Numpad7", 71, 0x67, false, 0x24}, {"Numpad8", 72, 0x68, false, 0x26},
    {"Numpad9", 73, 0x69, false, 0x21}, {"NumpadDecimal", 83, 0x6E, false, 0x2E}, {"NumpadMultiply", 55, 0x6A},
    {"NumpadAdd", 78, 0x6B}, {"NumpadSubtract", 74, 0x6D}, {"NumpadDivide", 98, 0x6F}, {"NumpadEnter", 96, 0x0D},
});

}  // namespace

std::span<const TastoFisico> TastiFisici() { return kTasti; }

const TastoFisico* TastoPerCodice(std::string_view code) {
    const auto* t = std::ranges::find(kTasti, code, &TastoFisico::code);
    return t == kTasti.end() ? nullptr : t;
}

const TastoFisico* TastoPerEvdev(int evdev) {
    const auto* t = std::ranges::find(kTasti, evdev, &TastoFisico::evdev);
    return t == kTasti.end() || evdev == 0 ? nullptr : t;
}

std::int16_t CodiceDelTasto(const TastoFisico* tasto, bool numLock) {
    if (tasto == nullptr) return 0;
    return numLock || tasto->senzaNumLock == 0 ? tasto->vk : tasto->senzaNumLock;
}

std::int16_t CodiceDelTasto(std::string_view code, bool numLock) {
    return CodiceDelTasto(TastoPerCodice(code), numLock);
}

}  // namespace tumblara
