// Tumblara: the main window is the program's only start-up object.

#include <QApplication>
#include <optional>

#include "ui/Display.h"
#include "ui/OpenGlDrivers.h"
#include "ui/frmGame.h"

int main(int argc, char** argv) {
    tumblara::LeaveOpenGlDriversUnloaded();
    std::optional<tumblara::DisplayGuard> guard(std::in_place);
    QApplication app(argc, argv);
    guard.reset();
    // Lets a Wayland compositor match the window to the desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(TUMBLARA_APP_ID));
    tumblara::frmGame form;
    form.showFullScreen();
    return app.exec();
}
