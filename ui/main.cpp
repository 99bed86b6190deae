// Tumblara: the main window is the program's only start-up object.

#include <QApplication>

#include "ui/frmGame.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tumblara::frmGame form;
    form.showFullScreen();
    return app.exec();
}
