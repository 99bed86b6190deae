#pragma once
// The main window: full screen, borderless and black. It owns the game, the
// window services the game runs on, and every element; it forwards the
// window system's events to the game and draws nothing by itself.

#include <QWidget>

#include "engine/Game.h"
#include "input/KeyFilter.h"
#include "ui/Elements.h"
#include "ui/Layout.h"
#include "ui/Menu.h"
#include "ui/QtServices.h"
#include "ui/X11Platform.h"

namespace tumblara {

class frmGame : public QWidget {
public:
    // Form_Initialize (the game's defaults), then Form_Load. Not shown yet.
    frmGame();
    ~frmGame() override;

    Game& game() { return game_; }
    QtServices& services() { return services_; }
    Menu& menu() { return menu_; }
    const Elementi& elementi() const { return e_; }
    const Layout& layout() const { return layout_; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Load();
    void Form_Activate();
    void ApriOpzioni();

    Elementi e_;
    QtServices services_;
    Game game_;
    Menu menu_;
    GameKeyFilter tasti_;  // the playing keys, whichever element has the focus
    X11Platform x11_;      // key repeats and close requests on X11
    Layout layout_;
    // An activation already handed to the game and not yet ended by a
    // deactivation: a show followed by the window system's activation
    // counts once.
    bool attivo_ = false;
};

}  // namespace tumblara
