#pragma once
// Wayland lets no client place its own windows: a dialog there appears
// wherever the compositor likes. The options window and the key-capture
// dialog must stand at given places on the screen, so on such platforms they
// are realised inside the full-screen main window instead, at the same
// places. A transparent cover under the open dialog then keeps the pointer
// and the keys from the rest of the main window, as a modal window would.

#include <QPoint>

class QDialog;
class QString;
class QWidget;

namespace tumblara {

enum class DialogPlacement { OwnWindow, InsideMainWindow };

// InsideMainWindow on the platforms where clients cannot place their windows.
DialogPlacement PlacementFor(const QString& platformName);

// Makes `dialog` a child of `mainWindow`, above everything in it. While it is
// shown, a cover spans the main window under it and the dialog has the
// keyboard focus; hidden, it gives the focus back.
void RealiseInside(QDialog& dialog, QWidget& mainWindow);

// The topmost dialog open inside `mainWindow`, or null.
QDialog* DialogOpenInside(const QWidget& mainWindow);

// Screen positions for windows and for dialogs realised inside one alike.
QPoint ScreenTopLeft(const QWidget& widget);
void MoveToScreenPoint(QWidget& widget, QPoint onScreen);

}  // namespace tumblara
