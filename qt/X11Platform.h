#pragma once
// What the main window needs from X11 beyond Qt:
// - a held key must arrive as repeated key-downs and one key-up. The X server
//   sends a release before every repeated press, and Qt tells them from real
//   releases only when the next press is already queued, which a busy machine
//   defeats. The server is asked not to send those releases at all.
// - the window manager's close request must end the program also while a
//   modal window is open; Qt drops it then, so it is taken here first.
// Elsewhere (Wayland, offscreen) nothing is done.

#include <QAbstractNativeEventFilter>
#include <QWidget>
#include <cstdint>
#include <functional>

namespace tumblara {

class X11Platform : public QAbstractNativeEventFilter {
public:
    // `onClose` runs for a close request of `window` that arrives while a
    // modal window is open.
    X11Platform(const QWidget& window, std::function<void()> onClose);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    // The X server sends no release between the presses of a held key.
    bool DetectableRepeat() const { return detectableRepeat_; }

private:
    bool IsDeleteRequest(void* message);

    const QWidget& window_;
    std::function<void()> onClose_;
    bool detectableRepeat_ = false;
    std::uint32_t protocols_ = 0;  // atoms, looked up on the first client message
    std::uint32_t delete_ = 0;
};

}  // namespace tumblara
