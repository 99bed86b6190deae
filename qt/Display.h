#pragma once
// Reaching the display. Qt aborts with a page of advice when the platform it
// was asked for cannot start; the program says it in one line instead.

#include <QtGlobal>

namespace tumblara {

// Alive while the application object connects to the display. Meanwhile
// Qt's messages are held back: a fatal one (no platform could start) ends
// the program with one line on stderr and status 1; once the display is
// reached, the destructor passes the held messages on as usual. It opens no
// connection of its own: a probe that connects and leaves would reset a
// bare X server whose only client is the game.
class DisplayGuard {
public:
    DisplayGuard();
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;

private:
    QtMessageHandler previous_;
};

}  // namespace tumblara
