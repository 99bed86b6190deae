// The close request a window manager sends when its close button is used.

#include <X11/Xlib.h>

int CloseWindow(unsigned long window) {
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr) return 1;
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = window;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, window, False, NoEventMask, &e);
    XCloseDisplay(d);  // flushes the request
    return 0;
}
