#pragma once
// The main window: full screen, borderless and black. It owns the game and
// every element, lays them out from the screen, and hands the window
// system's events to the game, the keyboard handlers and the menu.

#include "engine/Game.h"
#include "ui/Finestra.h"
#include "ui/Layout.h"
#include "ui/Menu.h"

namespace tumblara {

class frmGame : public WindowEvents {
public:
    // Form_Initialize (the game's defaults), then Form_Load. Not shown yet.
    explicit frmGame(WindowSystem& finestre);

    Game& game() { return game_; }
    Menu& menu() { return menu_; }
    const Layout& layout() const { return layout_; }

    void Activate() override;
    void Deactivate() override;
    void CloseRequest() override;
    void KeyDown(int keyCode, bool repeat) override;
    void KeyUp(int keyCode, bool repeat) override;
    bool UsesKey(int keyCode) const override;
    void MouseMove(ElementId element) override;
    void MouseDown(ElementId element) override;
    void Click(ElementId element) override;
    void Tick(TimerId timer) override;

private:
    void CreaElementi();
    void Form_Load();
    void Form_Activate();
    void ApriOpzioni();
    // No key or pointer reaches the main window while a modal window is open
    // over it, nor once the program is ending.
    bool SenzaInput() const { return modali_ > 0 || game_.Terminato(); }

    WindowSystem& finestre_;
    Finestra finestra_;
    Game game_;
    Menu menu_;
    Layout layout_;
    int modali_ = 0;  // modal windows open over this one
};

}  // namespace tumblara
