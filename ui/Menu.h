#pragma once
// The label menu of the main window and the handlers that hide the
// information text: hover highlight, clicks on the five labels, clicks on the
// information text and on the bare background.

#include <QObject>
#include <functional>

#include "input/Evidenziazione.h"
#include "ui/Elements.h"

namespace tumblara {

class Game;

class Menu : public QObject {
public:
    // `apriOpzioni` shows the options window modally and returns when it closes.
    Menu(Game& game, const Elementi& elementi, std::function<void()> apriOpzioni);

    void Label1_Click(int Index);
    void Text4_Click();
    void Form_MouseDown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool SuUnoSprite(QEvent* event) const;

    Game& game_;
    Elementi e_;
    std::function<void()> apriOpzioni_;
    Evidenziazione evidenziazione_;
    int premuto_ = -1;  // the menu label under a left button still down
};

}  // namespace tumblara
