#include "qt/InWindowDialog.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QString>

namespace tumblara {
namespace {

// Lies over the main window while a dialog is open inside it: the pointer's
// moves and clicks land on it and go no further, so nothing of the main
// window highlights or reacts to a click.
class Cover : public QWidget {
public:
    Cover(QDialog& dialog, QWidget& mainWindow) : QWidget(&mainWindow), dialog_(&dialog) {
        setMouseTracking(true);
        setAttribute(Qt::WA_NoMousePropagation);
        hide();
        dialog.installEventFilter(this);
        // The dialog is usually made on the stack and goes first.
        QObject::connect(&dialog, &QObject::destroyed, this, &QObject::deleteLater);
    }

    // Null once the dialog is being destroyed.
    QDialog* Dialog() const { return qobject_cast<QDialog*>(dialog_.data()); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != dialog_) return false;
        if (event->type() == QEvent::Show) {
            focusBefore_ = QApplication::focusWidget();
            setGeometry(parentWidget()->rect());
            show();
            raise();
            dialog_->raise();
            dialog_->setFocus(Qt::ActiveWindowFocusReason);
        } else if (event->type() == QEvent::Hide) {
            hide();
            if (focusBefore_) focusBefore_->setFocus(Qt::ActiveWindowFocusReason);
        }
        return false;
    }

private:
    // Held as a widget: events still come while the dialog part is already
    // destroyed.
    QPointer<QWidget> dialog_;
    QPointer<QWidget> focusBefore_;
};

}  // namespace

DialogPlacement PlacementFor(const QString& platformName) {
    return platformName.startsWith(QLatin1String("wayland")) ? DialogPlacement::InsideMainWindow
                                                             : DialogPlacement::OwnWindow;
}

void RealiseInside(QDialog& dialog, QWidget& mainWindow) {
    dialog.setParent(&mainWindow, Qt::Widget);
    dialog.setFocusPolicy(Qt::StrongFocus);
    new Cover(dialog, mainWindow);  // owned by the main window, gone with the dialog
}

QDialog* DialogOpenInside(const QWidget& mainWindow) {
    QDialog* top = nullptr;
    // Children are listed from the bottom of the stack up.
    for (QObject* child : mainWindow.children()) {
        const auto* cover = dynamic_cast<const Cover*>(child);
        QDialog* dialog = cover && cover->isVisible() ? cover->Dialog() : nullptr;
        if (dialog && dialog->isVisible()) top = dialog;
    }
    return top;
}

QPoint ScreenTopLeft(const QWidget& widget) {
    return widget.isWindow() ? widget.frameGeometry().topLeft() : widget.mapToGlobal(QPoint(0, 0));
}

void MoveToScreenPoint(QWidget& widget, QPoint onScreen) {
    widget.move(widget.isWindow() ? onScreen : widget.parentWidget()->mapFromGlobal(onScreen));
}

}  // namespace tumblara
