#pragma once
// The widgets of the three windows: the main window, and the options window
// and capture dialog as dialogs. They tell the shared windows when the
// window system activates or closes them.

#include <QDialog>

#include "ui/WindowSystem.h"

namespace tumblara {

class QtWindowSystem;

class QtMainWindow : public QWidget {
public:
    explicit QtMainWindow(QtWindowSystem& finestre);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QtWindowSystem& finestre_;
    // An activation already handed on and not yet ended by a deactivation: a
    // show followed by the window system's activation counts once.
    bool attivo_ = false;
};

class QtDialog : public QDialog {
public:
    QtDialog(QtWindowSystem& finestre, FormId form, QWidget* parent);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QtWindowSystem& finestre_;
    FormId form_;
};

}  // namespace tumblara
