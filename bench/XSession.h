#pragma once
// Small helpers for the tools that watch and drive the game's window on X:
// owning handles, a monotonic clock, waiting for events with a deadline, and
// damage reports (the server's account of what a client has drawn).

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

namespace tumblara::bench {

using Clock = std::chrono::steady_clock;

// CLOCK_MONOTONIC in nanoseconds, the clock Python's time.monotonic_ns reads.
std::int64_t NowNs();

struct DisplayCloser {
    void operator()(Display* d) const { XCloseDisplay(d); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

struct ImageDestroyer {
    void operator()(XImage* i) const { XDestroyImage(i); }
};
using ImagePtr = std::unique_ptr<XImage, ImageDestroyer>;

// The next event, or nothing once `deadline` has passed.
std::optional<XEvent> NextEvent(Display* dpy, Clock::time_point deadline);

struct DamageWatch {
    int eventBase = 0;
    ::Damage handle = 0;
};

// Starts damage reports on `w` at `level` (XDamageReport...), with nothing
// pending: the report of the whole window that creation brings is dropped.
std::optional<DamageWatch> WatchDamage(Display* dpy, Window w, int level);

inline bool IsDamage(const DamageWatch& d, const XEvent& e) { return e.type == d.eventBase + XDamageNotify; }

// One repaint: raw damage rectangles that arrive within 3 ms of each other.
struct Repaint {
    std::int64_t startNs = 0;
    long area = 0;
    XRectangle bounds{};  // the union of its rectangles
};

// The next repaint of a window watched with XDamageReportRawRectangles, or
// nothing by `deadline`.
std::optional<Repaint> NextRepaint(Display* dpy, const DamageWatch& d, Clock::time_point deadline);

}  // namespace tumblara::bench
