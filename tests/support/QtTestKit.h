#pragma once
// What the Qt tests share: the headers of the windows they drive, a game in
// play, and a driver for modal windows.

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "input/Keyboard.h"
#include "input/VirtualKey.h"
#include "input/frmKey.h"
#include "options/frmOption.h"
#include "ui/Canvas.h"
#include "ui/frmGame.h"

namespace tumblara::testing {

// A T pointing up in play, block 1 in column 6 and row 10, held still.
inline void PlayATInColumnSix(frmGame& form) {
    GameState& state = form.game().state;
    state.InGioco = true;
    state.TipoPezzo = 7;
    form.services().SetTimerInterval(TimerId::Timer1, 0);
    form.services().MoveSprite(1, 6.0f * state.Cella, 10.0f * state.Cella);
    form.game().Posiziona(false);
}

// Drives modal windows, and dialogs open inside a main window, from a timer
// while a test sits in their exec(): each one that appears is handed once to
// `onModal`. Two thousand ticks on (ten seconds or more), any is closed, or
// with none to be seen every event loop is ended, so a broken dialog fails a
// test instead of hanging it.
struct ModalDriver {
    explicit ModalDriver(std::function<void(QWidget* modal)> onModal) {
        QObject::connect(&timer, &QTimer::timeout, [this, onModal = std::move(onModal)] {
            QWidget* modal = QApplication::activeModalWidget();
            for (const QWidget* window : QApplication::topLevelWidgets()) modal = modal ? modal : DialogOpenInside(*window);
            if (modal && !modal->testAttribute(Qt::WA_ShowModal)) modal = nullptr;  // shown, but no exec() waits on it
            if (++ticks > 2000 && modal) {
                modal->close();
            } else if (ticks > 2000) {
                ADD_FAILURE() << "no dialog";
                QCoreApplication::exit(1);
            }
            if (modal && !modal->property("driven").toBool()) {
                modal->setProperty("driven", true);
                onModal(modal);
            }
        });
        timer.start(5);
    }
    int ticks = 0;
    QTimer timer;
};

}  // namespace tumblara::testing
