// Tumblara: the main window is the program's only start-up object.

#include <QApplication>
#include <cstdio>

#include "ui/Display.h"
#include "ui/frmGame.h"

int main(int argc, char** argv) {
    if (!tumblara::DisplayDisponibile()) {
        std::fputs("tumblara: no display to show the game on (DISPLAY or WAYLAND_DISPLAY)\n", stderr);
        return 1;
    }
    QApplication app(argc, argv);
    // Lets a Wayland compositor match the window to the desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(TUMBLARA_APP_ID));
    tumblara::frmGame form;
    form.showFullScreen();
    return app.exec();
}
