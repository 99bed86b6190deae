#pragma once
// What the Qt tests share: the program on the Qt window system, a game in
// play, and a driver for modal windows.

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "qt/Canvas.h"
#include "qt/QtKeys.h"
#include "qt/QtWindowSystem.h"
#include "ui/frmGame.h"

namespace tumblara::testing {

// The program as the desktop makes it, not shown yet.
struct ProgramOnQt {
    QtWindowSystem sys;
    frmGame form{sys};
    QWidget& Main() const { return *sys.Window(FormId::frmGame); }
    // A T pointing up in play, block 1 in column 6 and row 10, held still.
    void PlayATInColumnSix() {
        GameState& state = form.game().state;
        state.InGioco = true;
        state.TipoPezzo = 7;
        sys.SetTimerInterval(TimerId::Timer1, 0);
        sys.MoveSprite(1, 6.0f * state.Cella, 10.0f * state.Cella);
        form.game().Posiziona(false);
    }
    int Column() const { return static_cast<int>(sys.SpriteLeft(1)) / form.layout().Cella; }
};

// Drives modal windows, and dialogs open inside a main window, from a timer
// while a test sits in their exec(): each one that appears is handed once to
// `onModal`. Two thousand ticks on (ten seconds or more), any is closed, or
// with none to be seen every event loop is ended, so a broken dialog fails a
// test instead of hanging it.
struct ModalDriver {
    explicit ModalDriver(std::function<void(QWidget* modal)> onModal) {
        QObject::connect(&timer, &QTimer::timeout, [this, onModal = std::move(onModal)] {
            QWidget* modal = QApplication::activeModalWidget();
            for (const QWidget* window : QApplication::topLevelWidgets())
                modal = modal ? modal : DialogOpenInside(*window);
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
