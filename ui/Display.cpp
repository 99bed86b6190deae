#include "ui/Display.h"

#include <xcb/xcb.h>

#include <cstdlib>

namespace tumblara {
namespace {

bool Impostata(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0';
}

}  // namespace

bool DisplayDisponibile() {
    if (Impostata("QT_QPA_PLATFORM") || Impostata("WAYLAND_DISPLAY")) return true;
    if (!Impostata("DISPLAY")) return false;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const bool ok = xcb_connection_has_error(c) == 0;
    xcb_disconnect(c);
    return ok;
}

}  // namespace tumblara
