#pragma once
// Drives modal windows, and dialogs open inside a main window, from a timer
// while a test sits in their exec(): each one that appears is handed once to
// `onModal`. Ten seconds on, any
// modal window is closed, so a broken dialog fails a test instead of hanging it.

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "input/InWindowDialog.h"

namespace tumblara::testing {

class ModalDriver {
public:
    explicit ModalDriver(std::function<void(QWidget* modal)> onModal) {
        clock_.start();
        QObject::connect(&timer_, &QTimer::timeout, [this, onModal = std::move(onModal)] {
            QWidget* modal = QApplication::activeModalWidget();
            for (const QWidget* window : QApplication::topLevelWidgets())
                if (!modal) modal = DialogOpenInside(*window);
            if (modal && clock_.elapsed() > 10000) modal->close();
            if (!modal || modal->property("driven").toBool()) return;
            modal->setProperty("driven", true);
            onModal(modal);
        });
        timer_.start(5);
    }

private:
    QElapsedTimer clock_;
    QTimer timer_;
};

inline std::string PlacementName(const ::testing::TestParamInfo<DialogPlacement>& info) {
    return info.param == DialogPlacement::OwnWindow ? "OwnWindow" : "InsideMainWindow";
}

}  // namespace tumblara::testing
