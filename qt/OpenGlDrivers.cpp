#include "qt/OpenGlDrivers.h"

#include <QByteArray>
#include <QtGlobal>

namespace tumblara {

void LeaveOpenGlDriversUnloaded() {
    // Qt 6.4's Wayland platform decides whether a window gets client-side
    // decorations, frameless or not, by loading the EGL integration first;
    // with decorations off it loads nothing. Qt 6.8 no longer loads it for
    // that question, so there the setting changes nothing.
    constexpr const char* decorations = "QT_WAYLAND_DISABLE_WINDOWDECORATION";
    if (!qEnvironmentVariableIsSet(decorations)) qputenv(decorations, QByteArray("1"));
}

}  // namespace tumblara
