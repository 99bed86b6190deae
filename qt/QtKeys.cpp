#include "qt/QtKeys.h"

#include <QKeyEvent>
#include <array>
#include <string>

#include "input/TastiFisici.h"

namespace tumblara {
namespace {

// A Qt key and the place that gives its code; `numLock` false for a keypad
// key that reports the navigation key it is with Num Lock off.
struct Nome {
    int key;
    std::string_view posto;
    bool numLock = true;
};

constexpr std::array kNomi{
    Nome{Qt::Key_Space, "Space"}, Nome{Qt::Key_Escape, "Escape"}, Nome{Qt::Key_Tab, "Tab"},
    Nome{Qt::Key_Backtab, "Tab"}, Nome{Qt::Key_Backspace, "Backspace"}, Nome{Qt::Key_Return, "Enter"},
    Nome{Qt::Key_Enter, "NumpadEnter"}, Nome{Qt::Key_Insert, "Insert"}, Nome{Qt::Key_Delete, "Delete"},
    Nome{Qt::Key_Pause, "Pause"}, Nome{Qt::Key_Print, "PrintScreen"}, Nome{Qt::Key_SysReq, "PrintScreen"},
    Nome{Qt::Key_Clear, "Numpad5", false}, Nome{Qt::Key_Home, "Home"}, Nome{Qt::Key_End, "End"},
    Nome{Qt::Key_PageUp, "PageUp"}, Nome{Qt::Key_PageDown, "PageDown"}, Nome{Qt::Key_Left, "ArrowLeft"},
    Nome{Qt::Key_Up, "ArrowUp"}, Nome{Qt::Key_Right, "ArrowRight"}, Nome{Qt::Key_Down, "ArrowDown"},
    Nome{Qt::Key_Shift, "ShiftLeft"}, Nome{Qt::Key_Control, "ControlLeft"}, Nome{Qt::Key_Alt, "AltLeft"},
    Nome{Qt::Key_AltGr, "AltRight"}, Nome{Qt::Key_Super_L, "MetaLeft"}, Nome{Qt::Key_Super_R, "MetaRight"},
    Nome{Qt::Key_Menu, "ContextMenu"}, Nome{Qt::Key_CapsLock, "CapsLock"}, Nome{Qt::Key_NumLock, "NumLock"},
    Nome{Qt::Key_ScrollLock, "ScrollLock"}, Nome{Qt::Key_VolumeMute, "AudioVolumeMute"},
    Nome{Qt::Key_VolumeDown, "AudioVolumeDown"}, Nome{Qt::Key_VolumeUp, "AudioVolumeUp"},
    Nome{Qt::Key_MediaNext, "MediaTrackNext"}, Nome{Qt::Key_MediaPrevious, "MediaTrackPrevious"},
    Nome{Qt::Key_MediaStop, "MediaStop"}, Nome{Qt::Key_MediaTogglePlayPause, "MediaPlayPause"},
    Nome{Qt::Key_MediaPlay, "MediaPlayPause"},
};

// Symbols by the US key that carries them, unshifted and shifted: Qt names
// the key of a symbol by the symbol's own character.
constexpr std::array<std::pair<std::string_view, std::string_view>, 22> kSimboli{{
    {"Semicolon", ";:"}, {"Equal", "=+"}, {"Comma", ","}, {"IntlBackslash", "<"}, {"Minus", "-_"},
    {"Period", ".>"}, {"Slash", "/?"}, {"Backquote", "`~"}, {"BracketLeft", "[{"}, {"Backslash", "\\|"},
    {"BracketRight", "]}"}, {"Quote", "'\""}, {"Digit1", "!"}, {"Digit2", "@"}, {"Digit3", "#"}, {"Digit4", "$"},
    {"Digit5", "%"}, {"Digit6", "^"}, {"Digit7", "&"}, {"Digit8", "*"}, {"Digit9", "("}, {"Digit0", ")"},
}};

// Keys with the keypad modifier that have places of their own. The others
// (Home, End, the arrows with Num Lock off, Enter) are the named keys.
constexpr std::array kTastierino{
    Nome{Qt::Key_Asterisk, "NumpadMultiply"}, Nome{Qt::Key_Plus, "NumpadAdd"},
    Nome{Qt::Key_Minus, "NumpadSubtract"}, Nome{Qt::Key_Period, "NumpadDecimal"},
    Nome{Qt::Key_Comma, "NumpadDecimal"},  // the decimal key of layouts with a decimal comma
    Nome{Qt::Key_Slash, "NumpadDivide"},
};

template <std::size_t N>
const Nome* Trova(const std::array<Nome, N>& nomi, int qtKey) {
    for (const Nome& n : nomi)
        if (n.key == qtKey) return &n;
    return nullptr;
}

// Letters, digits and function keys come in runs of Qt keys.
std::string PostoInSequenza(int qtKey, bool keypad) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return (keypad ? "Numpad" : "Digit") + std::to_string(qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return std::string("Key") + static_cast<char>(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return "F" + std::to_string(qtKey - Qt::Key_F1 + 1);
    return {};
}

std::optional<std::int16_t> Codice(const TastoFisico* posto, bool numLock) {
    if (posto == nullptr) return std::nullopt;
    return CodiceDelTasto(posto, numLock);
}

}  // namespace

std::optional<std::int16_t> VirtualKeyCode(int qtKey, bool keypad, std::uint32_t nativeScanCode) {
    if (keypad) {
        if (const Nome* n = Trova(kTastierino, qtKey)) return Codice(TastoPerCodice(n->posto), true);
    } else if (const TastoFisico* posto = TastoPerEvdev(static_cast<int>(nativeScanCode) - 8);
               posto != nullptr && posto->perPosto) {
        return posto->vk;
    }
    if (const std::string posto = PostoInSequenza(qtKey, keypad); !posto.empty())
        return Codice(TastoPerCodice(posto), true);
    if (const Nome* n = Trova(kNomi, qtKey)) return Codice(TastoPerCodice(n->posto), n->numLock);
    for (const auto& [posto, simboli] : kSimboli)
        if (qtKey < 0x80 && simboli.find(static_cast<char>(qtKey)) != std::string_view::npos)
            return Codice(TastoPerCodice(posto), true);
    return std::nullopt;
}

std::optional<std::int16_t> VirtualKeyCode(const QKeyEvent& event) {
    return VirtualKeyCode(event.key(), event.modifiers().testFlag(Qt::KeypadModifier), event.nativeScanCode());
}

}  // namespace tumblara
