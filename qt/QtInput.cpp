#include "qt/QtInput.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include "qt/Canvas.h"
#include "qt/QtKeys.h"
#include "qt/QtWindowSystem.h"

namespace tumblara {
namespace {

// Which window and element a watched widget is.
const char* const kFinestra = "tumblara-form";
const char* const kElemento = "tumblara-element";

}  // namespace

QtInput::QtInput(QtWindowSystem& finestre) : finestre_(finestre) {
    // An application filter sees a key before the focused child does, so no
    // child (a button eating Space, focus moving on Tab, a dialog taking
    // Escape) can keep it.
    QCoreApplication::instance()->installEventFilter(this);
}

QtInput::~QtInput() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

void QtInput::Watch(QObject* widget, FormId form, ElementId element) {
    widget->setProperty(kFinestra, static_cast<int>(form));
    widget->setProperty(kElemento, static_cast<int>(element));
    widget->installEventFilter(this);
}

bool QtInput::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return Key(watched, event);
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
        return watched->property(kElemento).isValid() && Pointer(watched, event);
    default:
        return false;
    }
}

bool QtInput::Key(QObject* watched, QEvent* event) {
    // Keys reach the window object first and then its focus widget; only the
    // widget is taken, so each key is handled once. A window's key belongs to
    // the innermost of the three windows that holds its widget.
    if (!watched->isWidgetType()) return false;
    std::optional<FormId> form;
    for (QWidget* w = static_cast<QWidget*>(watched); w != nullptr && !form; w = w->parentWidget())
        for (FormId f : {FormId::frmKey, FormId::frmOption, FormId::frmGame})
            if (w == finestre_.Window(f)) form = f;
    if (!form) return false;
    // Claimed so that no shortcut can turn a key into something else.
    event->accept();
    if (event->type() == QEvent::ShortcutOverride) return true;
    WindowEvents* e = finestre_.Receiver(*form);
    if (e == nullptr) return true;
    const auto* key = static_cast<QKeyEvent*>(event);
    // A key with no code is still a key, of a code bound to nothing.
    const int code = VirtualKeyCode(*key).value_or(0);
    if (event->type() == QEvent::KeyPress)
        e->KeyDown(code, key->isAutoRepeat());
    else
        e->KeyUp(code, key->isAutoRepeat());
    return true;
}

bool QtInput::Pointer(QObject* watched, QEvent* event) {
    const auto element = static_cast<ElementId>(watched->property(kElemento).toInt());
    WindowEvents* e = finestre_.Receiver(static_cast<FormId>(watched->property(kFinestra).toInt()));
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const bool left = mouse->button() == Qt::LeftButton;
    if (element == ElementId::Background) {
        // The falling piece's blocks are elements of their own: the pointer
        // over them is not over the background.
        const Canvas* canvas = finestre_.canvas();
        if (e == nullptr || (watched == canvas && canvas->SpriteAt(mouse->position().toPoint()) != 0)) return false;
        if (event->type() == QEvent::MouseMove) e->MouseMove(element);
        if (event->type() == QEvent::MouseButtonPress) e->MouseDown(element);
        return false;
    }
    if (element == ElementId::Text4) {
        // The text box keeps its own handling of the pointer.
        if (e != nullptr && event->type() == QEvent::MouseButtonRelease && left) e->Click(element);
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseMove:
        if (e != nullptr) e->MouseMove(element);
        break;
    case QEvent::MouseButtonPress:
        if (left) pressed_ = watched;
        if (e != nullptr) e->MouseDown(element);
        break;
    case QEvent::MouseButtonRelease: {
        // The second press of a double click is no new click.
        const bool click = left && pressed_ == watched &&
                           static_cast<QWidget*>(watched)->rect().contains(mouse->position().toPoint());
        if (left) pressed_ = nullptr;
        if (click && e != nullptr) e->Click(element);
        break;
    }
    default:
        break;
    }
    // Moves over a label are its own: they must not reach the background.
    return true;
}

}  // namespace tumblara
