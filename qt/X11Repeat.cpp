// Held keys without the X server's synthetic releases, on Qt's own display
// connection. Kept apart from Qt's headers: Xlib defines macros that clash.

#include <X11/XKBlib.h>

namespace tumblara {

bool SetDetectableRepeat(void* display) {
    Bool supported = False;
    return XkbSetDetectableAutoRepeat(static_cast<Display*>(display), True, &supported) && supported;
}

}  // namespace tumblara
