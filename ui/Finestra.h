#pragma once
// A shared window's own window on the platform: open for as long as the
// object that holds it lives, its events going to that object.

#include "ui/WindowSystem.h"

namespace tumblara {

class Finestra {
public:
    Finestra(WindowSystem& finestre, FormId form, WindowEvents& events) : finestre_(finestre), form_(form) {
        finestre_.OpenWindow(form_, events);
    }
    ~Finestra() { finestre_.CloseWindow(form_); }
    Finestra(const Finestra&) = delete;
    Finestra& operator=(const Finestra&) = delete;

private:
    WindowSystem& finestre_;
    FormId form_;
};

}  // namespace tumblara
