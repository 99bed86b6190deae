// Watches a program's window on an X display and times what the player sees:
// the first frame after start-up, the repaint after a key, and how much of
// the window each repaint covers. Output is one line of key=value pairs.
//
//   xprobe startup [--green]       prints "ready", then waits for a new
//                                  top-level window and its first frame
//   xprobe keys WINDOW COUNT       key-down to repaint, alternating Left and Right
//   xprobe repaints WINDOW SECONDS repaint count and areas
//
// Times are CLOCK_MONOTONIC nanoseconds, the clock Python's time.monotonic_ns reads.
// With XPROBE_LIST set, `repaints` also lists each repaint's time and area on stderr.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "bench/XSession.h"

namespace {

using namespace tumblara::bench;

// True when the row a third of the way down holds a pure green pixel: the
// well's frame, which the game draws with its first frame.
bool ShowsGreen(Display* dpy, Window w, int width, int height) {
    ImagePtr row(XGetImage(dpy, w, 0, height / 3, static_cast<unsigned>(width), 1, AllPlanes, ZPixmap));
    if (!row) return false;
    for (int x = 0; x < width; ++x)
        if ((XGetPixel(row.get(), x, 0) & 0xFFFFFF) == 0x00FF00) return true;
    return false;
}

// True when a grid of samples across the window holds more than one colour:
// something has been drawn on the background.
bool ShowsContent(Display* dpy, Window w, int width, int height) {
    std::set<unsigned long> colours;
    for (int i = 1; i <= 7; ++i) {
        const int y = height * i / 8;
        ImagePtr row(XGetImage(dpy, w, 0, y, static_cast<unsigned>(width), 1, AllPlanes, ZPixmap));
        if (!row) return false;
        for (int x = 0; x < width; x += 4) colours.insert(XGetPixel(row.get(), x, 0) & 0xFFFFFF);
        if (colours.size() > 1) return true;
    }
    return false;
}

int Startup(Display* dpy, bool green) {
    const Window root = DefaultRootWindow(dpy);
    XSelectInput(dpy, root, SubstructureNotifyMask);
    XSync(dpy, False);
    std::printf("ready\n");
    std::fflush(stdout);

    const auto deadline = Clock::now() + std::chrono::seconds(30);
    Window w = 0;
    std::int64_t mappedNs = 0;
    XWindowAttributes a{};
    while (w == 0) {
        const auto e = NextEvent(dpy, deadline);
        if (!e) {
            std::printf("error=no window was mapped\n");
            return 1;
        }
        if (e->type != MapNotify || e->xmap.event != root) continue;
        const std::int64_t at = NowNs();
        if (!XGetWindowAttributes(dpy, e->xmap.window, &a)) continue;
        // Skip tooltips, splash pixels and other small helper windows.
        if (a.width < 100 || a.height < 100) continue;
        w = e->xmap.window;
        mappedNs = at;
    }

    const auto damage = WatchDamage(dpy, w, XDamageReportNonEmpty);
    auto drawn = [&] { return green ? ShowsGreen(dpy, w, a.width, a.height) : ShowsContent(dpy, w, a.width, a.height); };
    std::int64_t frameNs = 0;
    if (drawn()) frameNs = NowNs();
    while (frameNs == 0) {
        const auto e = NextEvent(dpy, deadline);
        if (!e) {
            std::printf("error=the window showed no frame window=0x%lx mapped_ns=%lld\n", w,
                        static_cast<long long>(mappedNs));
            return 1;
        }
        if (damage && !IsDamage(*damage, *e)) continue;
        const std::int64_t at = NowNs();
        if (damage) XDamageSubtract(dpy, damage->handle, None, None);
        if (drawn()) frameNs = at;
    }
    std::printf("window=0x%lx width=%d height=%d mapped_ns=%lld frame_ns=%lld\n", w, a.width, a.height,
                static_cast<long long>(mappedNs), static_cast<long long>(frameNs));
    return 0;
}

int Keys(Display* dpy, Window w, int count) {
    int xtestEvent = 0, xtestError = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(dpy, &xtestEvent, &xtestError, &major, &minor)) {
        std::printf("error=no XTEST extension\n");
        return 1;
    }
    const auto damage = WatchDamage(dpy, w, XDamageReportRawRectangles);
    if (!damage) {
        std::printf("error=no DAMAGE extension\n");
        return 1;
    }
    XSetInputFocus(dpy, w, RevertToParent, CurrentTime);
    const KeyCode left = XKeysymToKeycode(dpy, XK_Left);
    const KeyCode right = XKeysymToKeycode(dpy, XK_Right);

    std::vector<double> ms;
    int tries = 0;
    while (static_cast<int>(ms.size()) < count && tries < count * 4) {
        ++tries;
        // Start just after a repaint (a gravity step), so that the next step
        // is a whole interval away and the repaint that follows is the key's.
        if (!NextRepaint(dpy, *damage, Clock::now() + std::chrono::seconds(2))) break;
        const KeyCode key = ms.size() % 2 == 0 ? left : right;
        XTestFakeKeyEvent(dpy, key, True, CurrentTime);
        XSync(dpy, False);
        const std::int64_t down = NowNs();
        XTestFakeKeyEvent(dpy, key, False, CurrentTime);
        XFlush(dpy);
        const auto r = NextRepaint(dpy, *damage, Clock::now() + std::chrono::milliseconds(150));
        if (r) ms.push_back(static_cast<double>(r->startNs - down) / 1e6);
    }
    if (ms.empty()) {
        std::printf("error=no repaint followed a key\n");
        return 1;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("keys=%zu median_ms=%.2f max_ms=%.2f\n", ms.size(), ms[ms.size() / 2], ms.back());
    return 0;
}

int Repaints(Display* dpy, Window w, double seconds) {
    XWindowAttributes a{};
    XGetWindowAttributes(dpy, w, &a);
    const auto damage = WatchDamage(dpy, w, XDamageReportRawRectangles);
    if (!damage) {
        std::printf("error=no DAMAGE extension\n");
        return 1;
    }
    const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    const bool list = std::getenv("XPROBE_LIST") != nullptr;
    std::vector<long> areas;
    std::vector<double> gaps;
    std::int64_t previous = 0;
    while (const auto r = NextRepaint(dpy, *damage, end)) {
        areas.push_back(r->area);
        if (previous != 0) gaps.push_back(static_cast<double>(r->startNs - previous) / 1e6);
        previous = r->startNs;
        if (list) std::fprintf(stderr, "%.3f %ld\n", static_cast<double>(r->startNs) / 1e9, r->area);
    }
    long total = 0;
    for (long v : areas) total += v;
    const long biggest = areas.empty() ? 0 : *std::max_element(areas.begin(), areas.end());
    std::sort(gaps.begin(), gaps.end());
    // In play without keys the usual gap between repaints is the gravity interval.
    const double gap = gaps.empty() ? 0.0 : gaps[gaps.size() / 2];
    std::printf("repaints=%zu mean_px=%ld max_px=%ld window_px=%ld median_gap_ms=%.1f\n", areas.size(),
                areas.empty() ? 0 : total / static_cast<long>(areas.size()), biggest,
                static_cast<long>(a.width) * a.height, gap);
    return 0;
}

int Usage() {
    std::fprintf(stderr, "usage: xprobe startup [--green] | keys WINDOW COUNT | repaints WINDOW SECONDS\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    DisplayPtr dpy(XOpenDisplay(nullptr));
    if (!dpy) {
        std::fprintf(stderr, "xprobe: cannot open the display\n");
        return 1;
    }
    const std::string what = argv[1];
    if (what == "startup") return Startup(dpy.get(), argc > 2 && std::strcmp(argv[2], "--green") == 0);
    if (argc != 4) return Usage();
    const Window w = std::strtoul(argv[2], nullptr, 0);
    if (what == "keys") return Keys(dpy.get(), w, std::atoi(argv[3]));
    if (what == "repaints") return Repaints(dpy.get(), w, std::atof(argv[3]));
    return Usage();
}
