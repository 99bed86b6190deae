#pragma once
// The windows' input on Qt, handed to the shared windows as their events:
// - every key of a window, whichever of its children has the focus, as a
//   key code with its auto-repeat flag, before any child or shortcut sees it;
// - the pointer over the labels, the information text and the bare
//   background, with clicks made of a left press and release on one label.

#include <QObject>

#include "ui/WindowSystem.h"

namespace tumblara {

class QtWindowSystem;

class QtInput : public QObject {
public:
    // Installs itself on the application for the keys.
    explicit QtInput(QtWindowSystem& finestre);
    ~QtInput() override;

    // Pointer events of `widget` go to `element` of window `form`.
    void Watch(QObject* widget, FormId form, ElementId element);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Key(QObject* watched, QEvent* event);
    bool Pointer(QObject* watched, QEvent* event);

    QtWindowSystem& finestre_;
    QObject* pressed_ = nullptr;  // the label under a left button still down
};

}  // namespace tumblara
