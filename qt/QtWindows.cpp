#include "qt/QtWindows.h"

#include <QCloseEvent>

#include "qt/Canvas.h"
#include "qt/InWindowDialog.h"
#include "qt/QtWindowSystem.h"

namespace tumblara {

QtMainWindow::QtMainWindow(QtWindowSystem& finestre)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), finestre_(finestre) {}

bool QtMainWindow::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::WindowActivate:
        // While a dialog is open inside the window, the keyboard coming and
        // going is the dialog's, as it would be for a window of its own.
        if (!attivo_ && !DialogOpenInside(*this)) {
            attivo_ = true;
            // Delivered from the event loop: the activation may wait for a
            // long time, and the code that showed the window goes on.
            QMetaObject::invokeMethod(this, [this] {
                if (WindowEvents* e = finestre_.Receiver(FormId::frmGame)) e->Activate();
            }, Qt::QueuedConnection);
        }
        break;
    case QEvent::WindowDeactivate:
        if (!DialogOpenInside(*this)) attivo_ = false;
        if (WindowEvents* e = finestre_.Receiver(FormId::frmGame)) e->Deactivate();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void QtMainWindow::closeEvent(QCloseEvent* event) {
    if (WindowEvents* e = finestre_.Receiver(FormId::frmGame)) e->CloseRequest();
    event->accept();
}

// The background follows the window.
void QtMainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (Canvas* c = finestre_.canvas()) c->setGeometry(rect());
}

QtDialog::QtDialog(QtWindowSystem& finestre, FormId form, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), finestre_(finestre), form_(form) {}

// The shared window decides, and closes it itself.
void QtDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (WindowEvents* e = finestre_.Receiver(form_)) e->CloseRequest();
}

}  // namespace tumblara
