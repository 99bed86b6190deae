#pragma once
// The page's event pump, the one place where the game takes events. The
// timers tick on the page's clock here; the page's input waits in a queue on
// the JavaScript side. Wait suspends the whole C++ stack (Asyncify) in a
// promise that the next input event or the next due tick resolves, so a wait
// nested inside a handler resumes exactly where it stood and every order of
// effects of the desktop's nested event loops is kept.

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tumblara {

enum class PageEventKind { None, KeyDown, KeyUp, MouseMove, MouseDown, Click, Activate, Deactivate };

struct PageEvent {
    PageEventKind kind = PageEventKind::None;
    int element = 0;      // pointer events: the element under the pointer, 0 the main window's background
    bool repeat = false;  // key-downs: sent again by the keyboard's auto-repeat
    bool numLock = false; // key events: Num Lock is on
    std::string code;     // key events: KeyboardEvent.code, the key's place on the keyboard
};

class EventPump {
public:
    static constexpr std::size_t kTimers = 4;
    using Handler = std::function<void(const PageEvent&)>;

    void OnEvent(Handler handler) { handler_ = std::move(handler); }
    void OnTick(std::size_t timer, std::function<void()> tick) { timers_.at(timer).tick = std::move(tick); }
    // Ticks every `milliseconds` from now on; 0 stops the timer.
    void SetInterval(std::size_t timer, std::int32_t milliseconds);
    std::int32_t Interval(std::size_t timer) const { return timers_.at(timer).interval; }

    // Handles the pending events and due ticks in the order they happened,
    // blocking until at least one has been handled or `timeout` has passed.
    void Wait(std::optional<std::chrono::milliseconds> timeout);

    // Nothing is handled any more: every wait returns at once.
    void End();
    bool Ended() const { return ended_; }

    // The page's clock, in milliseconds.
    static double Now();

private:
    struct Timer {
        std::int32_t interval = 0;
        double due = 0;
        std::function<void()> tick;
    };
    bool HandleOne();
    double NextDue() const;

    std::array<Timer, kTimers> timers_{};
    Handler handler_;
    bool ended_ = false;
};

}  // namespace tumblara
