// What the fault scripts need from the X server beyond xdotool:
//
//   xpoke windows <pid> <count>
//       waits up to 60 s until process <pid> shows <count> windows and prints
//       the topmost one not titled Pilastra (the main window when there is no
//       other) as "window <id> <x> <y> <width> <height>"
//   xpoke close <pid> main|dialog
//       asks the main window or the topmost other one to close, as a window
//       manager's close button does (WM_DELETE_WINDOW)
//   xpoke flood <rate> <seconds> <probe-x> <probe-y> <away-x> <away-y>
//       sends <rate> key events a second (presses and releases of the four
//       playing keys and of a few others) for <seconds>; once a second it
//       moves the pointer onto the probe point and measures how long the
//       program takes to light the menu label there, then moves it away.
//       Prints the events sent, every response time in ms and the misses.
//   xpoke black <x> <y> <width> <height>
//       exit status 0 when every pixel of the rectangle is black
//   xpoke blinking <x> <y> <width> <height> <seconds>
//       watches a rectangle and prints the shortest time in ms it stayed the
//       same between two changes, 0 after fewer than two

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
constexpr const char* kMainTitle = "Pilastra";

unsigned long Pid(Display* d, Window w) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0, pid = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(d, w, XInternAtom(d, "_NET_WM_PID", False), 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success && data && count == 1 && format == 32)
        pid = *reinterpret_cast<unsigned long*>(data);
    if (data) XFree(data);
    return pid;
}

bool IsMain(Display* d, Window w) {
    char* name = nullptr;
    const bool main = XFetchName(d, w, &name) && name && std::string(name) == kMainTitle;
    if (name) XFree(name);
    return main;
}

// The mapped top-level windows of `pid` in stacking order, top last; no
// window manager reparents them on these test servers.
std::vector<Window> WindowsOf(Display* d, unsigned long pid) {
    std::vector<Window> found;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count)) return found;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes a{};
        if (XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable && Pid(d, children[i]) == pid)
            found.push_back(children[i]);
    }
    if (children) XFree(children);
    return found;
}

std::optional<Window> Pick(Display* d, const std::vector<Window>& all, bool main) {
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        if (IsMain(d, *it) == main) return *it;
    return std::nullopt;
}

int WaitWindows(Display* d, unsigned long pid, std::size_t count) {
    for (const auto end = Clock::now() + 60s; Clock::now() < end; std::this_thread::sleep_for(20ms)) {
        const auto all = WindowsOf(d, pid);
        if (all.empty() || all.size() != count) continue;
        const Window w = Pick(d, all, false).value_or(all.front());
        XWindowAttributes a{};
        XGetWindowAttributes(d, w, &a);
        std::printf("window %lu %d %d %d %d\n", w, a.x, a.y, a.width, a.height);
        return 0;
    }
    std::fprintf(stderr, "process %lu did not show %zu windows within 60 s\n", pid, count);
    return 1;
}

int Close(Display* d, unsigned long pid, bool main) {
    const auto target = Pick(d, WindowsOf(d, pid), main);
    if (!target) return 1;
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = *target;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, *target, False, NoEventMask, &e);
    XSync(d, False);
    return 0;
}

// The pixels of a rectangle of the screen, 0xRRGGBB each.
std::vector<unsigned long> Pixels(Display* d, int x, int y, int width, int height) {
    std::vector<unsigned long> pixels;
    XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!image) return pixels;
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i) pixels.push_back(XGetPixel(image, i, j) & 0xFFFFFF);
    XDestroyImage(image);
    return pixels;
}

// Moves the pointer, then waits until the label at (x, y) is lit (white on
// dark red) or dark; the milliseconds taken, or nothing after 2 s.
std::optional<double> Respond(Display* d, int moveX, int moveY, int x, int y, bool lit) {
    const auto start = Clock::now();
    XTestFakeMotionEvent(d, -1, moveX, moveY, CurrentTime);
    XFlush(d);
    while (Clock::now() - start < 2s) {
        if ((Pixels(d, x, y, 1, 1) == std::vector<unsigned long>{0x800000}) == lit)
            return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        std::this_thread::sleep_for(500us);
    }
    return std::nullopt;
}

int Flood(Display* d, int rate, double seconds, int probeX, int probeY, int awayX, int awayY) {
    std::vector<KeyCode> codes;
    for (KeySym k : {XK_Left, XK_Right, XK_space, XK_Down, XK_a, XK_Shift_L, XK_F1, XK_Up})
        codes.push_back(XKeysymToKeycode(d, k));
    const auto code = [&](long n) { return codes[static_cast<std::size_t>(n / 2) % codes.size()]; };
    const auto start = Clock::now();
    const auto end = start + std::chrono::duration<double>(seconds);
    long sent = 0;
    int missed = 0;
    std::string responses;
    // Batches every millisecond: the count sent follows the clock, so a slow
    // moment is made up for and the rate holds over the whole run.
    for (auto nextProbe = start + 1s; Clock::now() < end; std::this_thread::sleep_for(1ms)) {
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        for (; sent < static_cast<long>(elapsed * rate); ++sent) XTestFakeKeyEvent(d, code(sent), sent % 2 == 0, CurrentTime);
        XFlush(d);
        if (Clock::now() < nextProbe) continue;
        nextProbe += 1s;
        if (const auto on = Respond(d, probeX, probeY, probeX, probeY, true)) responses += " " + std::to_string(*on);
        else ++missed;
        Respond(d, awayX, awayY, probeX, probeY, false);
    }
    if (sent % 2 == 1) XTestFakeKeyEvent(d, code(sent), False, CurrentTime);
    XSync(d, False);
    const double took = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("sent %ld key events in %.2f s: %.0f a second\n", sent, took, static_cast<double>(sent) / took);
    std::printf("responses%s\nmissed %d\n", responses.c_str(), missed);
    return 0;
}

long Blinking(Display* d, int x, int y, int width, int height, double seconds) {
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    auto last = Pixels(d, x, y, width, height);
    std::optional<Clock::time_point> since;  // the first change ends a span whose start was not seen
    long shortest = 0;
    for (; Clock::now() < end; std::this_thread::sleep_for(10ms)) {
        auto now = Pixels(d, x, y, width, height);
        if (now == last) continue;
        if (since) {
            const long span = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - *since).count();
            shortest = shortest == 0 ? span : std::min(shortest, span);
        }
        since = Clock::now();
        last = std::move(now);
    }
    return shortest;
}

}  // namespace

int main(int argc, char** argv) {
    Display* d = XOpenDisplay(nullptr);
    if (!d || argc < 4) {
        std::fprintf(stderr, "usage: xpoke windows|close|flood|black|blinking ... (with a display)\n");
        return 2;
    }
    const std::string what = argv[1];
    std::vector<int> n;
    for (int i = 2; i < argc; ++i) n.push_back(std::atoi(argv[i]));
    int status = 2;
    if (what == "windows") {
        status = WaitWindows(d, std::strtoul(argv[2], nullptr, 10), static_cast<std::size_t>(n[1]));
    } else if (what == "close") {
        status = Close(d, std::strtoul(argv[2], nullptr, 10), std::string(argv[3]) == "main");
    } else if (what == "flood" && argc == 8) {
        status = Flood(d, n[0], std::atof(argv[3]), n[2], n[3], n[4], n[5]);
    } else if (what == "black" && argc == 6) {
        const auto pixels = Pixels(d, n[0], n[1], n[2], n[3]);
        status = !pixels.empty() && pixels == std::vector<unsigned long>(pixels.size(), 0) ? 0 : 1;
    } else if (what == "blinking" && argc == 7) {
        std::printf("%ld\n", Blinking(d, n[0], n[1], n[2], n[3], std::atof(argv[6])));
        status = 0;
    }
    XCloseDisplay(d);
    return status;
}
