#pragma once
// The key-capture dialog: asks for one key and hands its code back. It closes
// on the first key-down, whatever the key.

#include <cstdint>
#include <optional>
#include <string_view>

#include "ui/Finestra.h"

namespace tumblara {

class frmKey : public WindowEvents {
public:
    // Opens directly under the options window, as wide as it, showing the
    // action and the name of its default key.
    frmKey(WindowSystem& finestre, std::string_view azione, std::string_view tasto);

    // Shows the dialog modal and answers the code of the first key-down.
    // Closed any other way, or by a key-down that has no code, it answers
    // nullopt: the binding stays.
    std::optional<std::int16_t> Cattura();

    void KeyDown(int keyCode, bool repeat) override;
    // Any key is the one being captured.
    bool UsesKey(int /*keyCode*/) const override { return true; }
    void CloseRequest() override;

private:
    void Form_Load();
    void Form_KeyDown(std::int16_t KeyCode, std::int16_t Shift);
    void Chiudi();

    WindowSystem& finestre_;
    Finestra finestra_;
    std::optional<std::int16_t> catturato_;
    bool chiuso_ = false;  // keys already queued behind the first one do nothing
};

}  // namespace tumblara
