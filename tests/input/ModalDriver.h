#pragma once
// Drives modal windows from a timer while a test sits in their exec(): each
// modal window that appears is handed once to `onModal`. A window still
// open after the deadline is closed, so a broken dialog fails a test instead
// of hanging it.

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace tumblara::testing {

class ModalDriver {
public:
    explicit ModalDriver(std::function<void(QWidget* modal)> onModal, int deadlineMs = 10000)
        : onModal_(std::move(onModal)), deadlineMs_(deadlineMs) {
        clock_.start();
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }
    int handled() const { return handled_; }
    bool timedOut() const { return timedOut_; }

private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        if (clock_.elapsed() > deadlineMs_) {
            timedOut_ = true;
            modal->close();
            return;
        }
        if (modal->property("driven").toBool()) return;
        modal->setProperty("driven", true);
        ++handled_;
        onModal_(modal);
    }

    std::function<void(QWidget*)> onModal_;
    int deadlineMs_;
    QElapsedTimer clock_;
    QTimer timer_;
    int handled_ = 0;
    bool timedOut_ = false;
};

}  // namespace tumblara::testing
