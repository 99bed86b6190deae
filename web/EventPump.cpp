#include "web/EventPump.h"

#include <emscripten.h>

#include <algorithm>
#include <limits>

#include "web/Page.h"

namespace tumblara {
namespace {

constexpr double kNever = std::numeric_limits<double>::infinity();

// Suspends the program until the page has an event or `ms` have passed (no
// limit below 0). The browser runs meanwhile; nothing polls.
EM_ASYNC_JS(void, tp_wait, (double ms), { await Eventi.wait(ms); });

}  // namespace

double EventPump::Now() { return emscripten_get_now(); }

void EventPump::SetInterval(std::size_t timer, std::int32_t milliseconds) {
    Timer& t = timers_.at(timer);
    t.interval = ended_ ? 0 : std::max<std::int32_t>(milliseconds, 0);
    t.due = Now() + t.interval;  // a new interval starts a new period
}

double EventPump::NextDue() const {
    double next = kNever;
    for (const Timer& t : timers_)
        if (t.interval > 0) next = std::min(next, t.due);
    return next;
}

bool EventPump::HandleOne() {
    const double now = Now();
    Timer* due = nullptr;
    for (Timer& t : timers_)
        if (t.interval > 0 && t.due <= now && (due == nullptr || t.due < due->due)) due = &t;
    const double head = tp_head_time();

    if (due != nullptr && (head < 0 || due->due <= head)) {
        // A late tick is not caught up: the next one comes a period later.
        due->due += due->interval;
        if (due->due <= now) due->due = now + due->interval;
        if (due->tick) due->tick();
        return true;
    }
    if (head < 0) return false;

    PageEvent event;
    std::array<char, 32> code{};
    int flags = 0;
    event.kind = static_cast<PageEventKind>(tp_take_event(&event.element, &flags, code.data(), code.size()));
    event.repeat = (flags & 1) != 0;
    event.numLock = (flags & 2) != 0;
    event.code = code.data();
    if (handler_) handler_(event);
    return true;
}

void EventPump::Wait(std::optional<std::chrono::milliseconds> timeout) {
    const double limit = timeout ? Now() + static_cast<double>(timeout->count()) : kNever;
    bool handled = false;
    while (!ended_) {
        if (HandleOne()) {
            handled = true;
            continue;
        }
        const double now = Now();
        if (handled || now >= limit) return;
        const double next = std::min(limit, NextDue());
        tp_wait(next == kNever ? -1.0 : std::max(0.0, next - now));
    }
}

void EventPump::End() {
    ended_ = true;
    for (Timer& t : timers_) t.interval = 0;
}

}  // namespace tumblara
