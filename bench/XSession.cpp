#include "bench/XSession.h"

#include <poll.h>

#include <algorithm>

namespace tumblara::bench {

std::int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

std::optional<XEvent> NextEvent(Display* dpy, Clock::time_point deadline) {
    while (XPending(dpy) == 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return std::nullopt;
        pollfd p{ConnectionNumber(dpy), POLLIN, 0};
        poll(&p, 1, static_cast<int>(std::min<std::int64_t>(left.count(), 100)));
    }
    XEvent e;
    XNextEvent(dpy, &e);
    return e;
}

std::optional<DamageWatch> WatchDamage(Display* dpy, Window w, int level) {
    DamageWatch d;
    int errorBase = 0;
    if (!XDamageQueryExtension(dpy, &d.eventBase, &errorBase)) return std::nullopt;
    d.handle = XDamageCreate(dpy, w, level);
    XSync(dpy, False);
    XEvent e;
    while (XCheckTypedEvent(dpy, d.eventBase + XDamageNotify, &e)) {
    }
    // Empty the region too, or a non-empty report never comes again.
    XDamageSubtract(dpy, d.handle, None, None);
    return d;
}

namespace {

XRectangle Union(const XRectangle& a, const XRectangle& b) {
    const int left = std::min(a.x, b.x);
    const int top = std::min(a.y, b.y);
    const int right = std::max(a.x + a.width, b.x + b.width);
    const int bottom = std::max(a.y + a.height, b.y + b.height);
    return {static_cast<short>(left), static_cast<short>(top), static_cast<unsigned short>(right - left),
            static_cast<unsigned short>(bottom - top)};
}

}  // namespace

std::optional<Repaint> NextRepaint(Display* dpy, const DamageWatch& d, Clock::time_point deadline) {
    std::optional<Repaint> r;
    for (;;) {
        const auto limit = r ? std::min(deadline, Clock::now() + std::chrono::milliseconds(3)) : deadline;
        const auto e = NextEvent(dpy, limit);
        if (!e) return r;
        if (!IsDamage(d, *e)) continue;
        const auto* de = reinterpret_cast<const XDamageNotifyEvent*>(&*e);
        if (!r) {
            r = Repaint{NowNs(), 0, de->area};
        } else {
            r->bounds = Union(r->bounds, de->area);
        }
        r->area += static_cast<long>(de->area.width) * de->area.height;
    }
}

}  // namespace tumblara::bench
