#include "qt/X11Platform.h"

#include <xcb/xcb.h>

#include <QApplication>
#include <QGuiApplication>
#include <cstdlib>
#include <cstring>

namespace tumblara {

// In X11Repeat.cpp: Xlib's macros clash with Qt's names.
bool SetDetectableRepeat(void* display);

namespace {

std::uint32_t Atom(xcb_connection_t* c, const char* name) {
    const auto cookie = xcb_intern_atom(c, 1, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
    if (reply == nullptr) return 0;
    const std::uint32_t atom = reply->atom;
    std::free(reply);
    return atom;
}

}  // namespace

X11Platform::X11Platform(const QWidget& window, std::function<void()> onClose)
    : window_(window), onClose_(std::move(onClose)) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr) return;
    detectableRepeat_ = x11->display() != nullptr && SetDetectableRepeat(x11->display());
    QCoreApplication::instance()->installNativeEventFilter(this);
}

bool X11Platform::IsDeleteRequest(void* message) {
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) return false;
    const auto* cm = static_cast<const xcb_client_message_event_t*>(message);
    if (cm->format != 32 || !window_.windowHandle() || cm->window != window_.winId()) return false;
    if (protocols_ == 0) {
        xcb_connection_t* c = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
        protocols_ = Atom(c, "WM_PROTOCOLS");
        delete_ = Atom(c, "WM_DELETE_WINDOW");
    }
    return cm->type == protocols_ && cm->data.data32[0] == delete_;
}

bool X11Platform::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    // Without a modal window Qt delivers the close event itself.
    if (QApplication::activeModalWidget() == nullptr || !IsDeleteRequest(message)) return false;
    onClose_();
    return true;
}

}  // namespace tumblara
