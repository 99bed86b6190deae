#pragma once
// What the Qt tests share: the headers of the windows they drive, and a driver
// for modal windows.
//
// ModalDriver drives modal windows, and dialogs open inside a main window, from a timer
// while a test sits in their exec(): each one that appears is handed once to
// `onModal`. Ten seconds on, any is closed, or with none to be seen every
// event loop is ended, so a broken dialog fails a test instead of hanging it.

#include <QApplication>
#include <QElapsedTimer>
#include <QExposeEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <functional>
#include <string_view>
#include <gtest/gtest.h>

#include "input/Keyboard.h"
#include "input/VirtualKey.h"
#include "input/frmKey.h"
#include "options/frmOption.h"
#include "ui/Canvas.h"
#include "ui/frmGame.h"

namespace tumblara::testing {

struct ModalDriver {
    explicit ModalDriver(std::function<void(QWidget* modal)> onModal) {
        clock.start();
        QObject::connect(&timer, &QTimer::timeout, [this, onModal = std::move(onModal)] {
            QWidget* modal = QApplication::activeModalWidget();
            for (const QWidget* window : QApplication::topLevelWidgets()) modal = modal ? modal : DialogOpenInside(*window);
            if (clock.elapsed() > 10000) modal ? void(modal->close()) : (ADD_FAILURE() << "no dialog", QCoreApplication::exit(1));
            if (modal && !modal->property("driven").toBool()) modal->setProperty("driven", true), onModal(modal);
        });
        timer.start(5);
    }
    QElapsedTimer clock;
    QTimer timer;
};

#define TUMBLARA_BOTH_PLACEMENTS(Suite)                                                                    \
    INSTANTIATE_TEST_SUITE_P(, Suite, ::testing::Values(DialogPlacement::OwnWindow, DialogPlacement::InsideMainWindow), \
                             [](const auto& i) { return i.param == DialogPlacement::OwnWindow ? "OwnWindow" : "Inside"; })

}  // namespace tumblara::testing
