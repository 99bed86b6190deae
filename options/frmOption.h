#pragma once
// The options window: drops down at the right edge of the screen under the
// main window's "Opzioni" label and offers three clickable labels: new keys
// for the four actions, key repetition, and closing. The game keeps running
// while it is open.

#include <cstdint>

#include "ui/Evidenziazione.h"
#include "ui/Finestra.h"

namespace tumblara {

class Game;

class frmOption : public WindowEvents {
public:
    // `opzioni` is where the main window's "Opzioni" label stands in it.
    frmOption(WindowSystem& finestre, Game& game, PixelRect opzioni);

    // Shows the window modal; returns once it has closed.
    void Show();

    void MouseMove(ElementId element) override;
    void Click(ElementId element) override;
    void CloseRequest() override;

private:
    void Form_Load(PixelRect opzioni);
    void Label1_Click(std::int16_t Index);
    // Captures one key for action KeyId; false when the program is ending.
    bool CatturaTasto(std::int32_t KeyId);
    void Chiudi();

    WindowSystem& finestre_;
    Game& game_;
    Finestra finestra_;
    Evidenziazione evidenziazione_;  // over Label1(0..2)
};

}  // namespace tumblara
