#pragma once
// Hands every key of the main window to the game's key handlers, whichever
// of its children has the focus, and only while no dialog is open over it.

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace tumblara {

class Game;

class GameKeyFilter : public QObject {
    Q_OBJECT
public:
    // Installs itself on the application; `mainWindow` is the window whose keys steer the game.
    GameKeyFilter(Game& game, QWidget* mainWindow, QObject* parent);
    ~GameKeyFilter() override;
    GameKeyFilter(const GameKeyFilter&) = delete;
    GameKeyFilter& operator=(const GameKeyFilter&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool ForMainWindow(QObject* watched) const;
    // A modal window, or a dialog realised inside the main window, is open.
    bool UnderADialog() const;

    Game& game_;
    QPointer<QWidget> mainWindow_;
};

}  // namespace tumblara
