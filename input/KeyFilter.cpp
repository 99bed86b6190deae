#include "input/KeyFilter.h"

#include <QApplication>
#include <QKeyEvent>

#include "engine/Game.h"
#include "input/InWindowDialog.h"
#include "input/Keyboard.h"
#include "input/VirtualKey.h"

namespace tumblara {

GameKeyFilter::GameKeyFilter(Game& game, QWidget* mainWindow, QObject* parent)
    : QObject(parent), game_(game), mainWindow_(mainWindow) {
    // An application filter sees a key before the focused child does, so no
    // child (a button eating Space, focus moving on Tab) can keep it.
    QCoreApplication::instance()->installEventFilter(this);
}

GameKeyFilter::~GameKeyFilter() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

bool GameKeyFilter::ForMainWindow(QObject* watched) const {
    // Keys reach the window object first and then its focus widget; only the
    // widget is taken, so each key is handled once.
    if (!mainWindow_ || !watched->isWidgetType()) return false;
    return static_cast<QWidget*>(watched)->window() == mainWindow_;
}

bool GameKeyFilter::UnderADialog() const {
    return QApplication::activeModalWidget() || DialogOpenInside(*mainWindow_);
}

bool GameKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::ShortcutOverride:
            // Claimed so that no shortcut can turn a playing key into something else.
            if (!ForMainWindow(watched)) return false;
            event->accept();
            return true;

        case QEvent::KeyPress: {
            if (!ForMainWindow(watched) || UnderADialog()) return false;
            if (game_.Terminato()) return true;
            // Auto-repeated presses are the held key's repeated key-downs. A
            // key with no code is still a key-down, of a key bound to nothing.
            const auto code = VirtualKeyCode(*static_cast<QKeyEvent*>(event));
            Form_KeyDown(game_, code.value_or(0), 0);
            return true;
        }

        case QEvent::KeyRelease: {
            if (!ForMainWindow(watched) || UnderADialog()) return false;
            const auto* key = static_cast<QKeyEvent*>(event);
            // X11 and Wayland send a release before every repeated press; only
            // the real release ends the hold, or repetition off would act as on.
            if (key->isAutoRepeat() || game_.Terminato()) return true;
            const auto code = VirtualKeyCode(*key);
            Form_KeyUp(game_, code.value_or(0), 0);
            return true;
        }

        case QEvent::WindowDeactivate:
            if (watched == mainWindow_ && !game_.Terminato()) Form_Deactivate(game_);
            return false;

        default:
            return false;
    }
}

}  // namespace tumblara
