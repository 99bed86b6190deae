#pragma once
// The label menu of the main window and the handlers that hide the
// information text: hover highlight, clicks on the five labels, clicks on the
// information text and on the bare background.

#include <functional>

#include "ui/Evidenziazione.h"

namespace tumblara {

class Game;

class Menu {
public:
    // `apriOpzioni` shows the options window modally and returns when it closes.
    Menu(WindowSystem& finestre, Game& game, std::function<void()> apriOpzioni);

    // The main window's pointer events.
    void MouseMove(ElementId element);
    void MouseDown(ElementId element);
    void Click(ElementId element);

    void Label1_Click(int Index);
    void Text4_Click();
    void Form_MouseDown();

private:
    WindowSystem& finestre_;
    Game& game_;
    std::function<void()> apriOpzioni_;
    Evidenziazione evidenziazione_;  // over Label1(0..4)
};

}  // namespace tumblara
