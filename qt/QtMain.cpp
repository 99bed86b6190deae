// The desktop's entry: Qt's application, the window system on it, and the
// main window made, shown and run until the program ends.

#include <QApplication>
#include <optional>

#include "qt/Display.h"
#include "qt/OpenGlDrivers.h"
#include "qt/QtWindowSystem.h"

namespace tumblara {

int RunPlatform(int argc, char** argv, const MainWindowMaker& make) {
    LeaveOpenGlDriversUnloaded();
    std::optional<DisplayGuard> guard(std::in_place);
    QApplication app(argc, argv);
    guard.reset();
    // Lets a Wayland compositor match the window to the desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(TUMBLARA_APP_ID));
    QtWindowSystem finestre;
    const std::unique_ptr<WindowEvents> form = make(finestre);
    finestre.ShowMain();
    return QApplication::exec();
}

}  // namespace tumblara
