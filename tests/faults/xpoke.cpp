// What the fault scripts need from the X server beyond xdotool:
//
//   xpoke window <pid> <seconds> [title]
//       waits for a mapped top-level window of process <pid> (with that title)
//       and prints "window <id> <x> <y> <width> <height>"
//   xpoke dialog <pid> <seconds> <count>
//       waits until process <pid> shows <count> windows and prints the
//       topmost one that is not titled Pilastra (or the main window when
//       there is no other), as "window" does
//   xpoke close <pid> main|dialog
//       asks the main window (titled Pilastra) or the topmost other window
//       to close, as a window manager's close button does (WM_DELETE_WINDOW);
//       prints "closed <id>"
//   xpoke flood <rate> <seconds> <probe-x> <probe-y> <away-x> <away-y>
//       sends <rate> key events a second (presses and releases of the four
//       playing keys and of a few others) for <seconds>; once a second it
//       moves the pointer onto the probe point and measures how long the
//       program takes to light the menu label there, then moves it away.
//       Prints the events sent and every response time in milliseconds.
//   xpoke pixel <x> <y>
//       prints the colour at a point of the screen as rrggbb
//   xpoke blinking <x> <y> <width> <height> <seconds>
//       watches a rectangle; prints "blinking <ms>" with the shortest time it
//       stayed the same between two changes, "changed" after a single
//       change, or "steady"
//   xpoke black <x> <y> <width> <height>
//       exit status 0 when every pixel of the rectangle is black

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Found {
    Window id = 0;
    XWindowAttributes attributes{};
};

unsigned long Cardinal(Display* d, Window w, const char* name) {
    const Atom atom = XInternAtom(d, name, True);
    if (atom == None) return 0;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    unsigned long value = 0;
    if (XGetWindowProperty(d, w, atom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after, &data) == Success &&
        data != nullptr && count == 1 && format == 32)
        value = *reinterpret_cast<unsigned long*>(data);
    if (data) XFree(data);
    return value;
}

std::string Title(Display* d, Window w) {
    char* name = nullptr;
    std::string title;
    if (XFetchName(d, w, &name) && name) title = name;
    if (name) XFree(name);
    return title;
}

// The mapped top-level windows of `pid`, children of the root (no window
// manager reparents them on these test servers).
std::vector<Found> WindowsOf(Display* d, unsigned long pid, const char* title) {
    std::vector<Found> found;
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count)) return found;
    for (unsigned int i = 0; i < count; ++i) {
        Found f{children[i], {}};
        if (!XGetWindowAttributes(d, f.id, &f.attributes) || f.attributes.map_state != IsViewable) continue;
        if (Cardinal(d, f.id, "_NET_WM_PID") != pid) continue;
        if (title && Title(d, f.id) != title) continue;
        found.push_back(f);
    }
    if (children) XFree(children);
    return found;
}

constexpr const char* kMainTitle = "Pilastra";

void Print(const Found& f) {
    std::printf("window %lu %d %d %d %d\n", f.id, f.attributes.x, f.attributes.y, f.attributes.width,
                f.attributes.height);
}

// The topmost window of `pid` that is not the main one.
std::optional<Found> TopDialog(Display* d, unsigned long pid) {
    const auto all = WindowsOf(d, pid, nullptr);
    for (auto it = all.rbegin(); it != all.rend(); ++it)  // stacking order: top last
        if (Title(d, it->id) != kMainTitle) return *it;
    return std::nullopt;
}

int WaitWindow(Display* d, unsigned long pid, double seconds, const char* title) {
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < end) {
        const auto found = WindowsOf(d, pid, title);
        if (!found.empty()) {
            Print(found.front());
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::fprintf(stderr, "no window of process %lu within %.0f s\n", pid, seconds);
    return 1;
}

int WaitDialog(Display* d, unsigned long pid, double seconds, std::size_t count) {
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < end) {
        const auto all = WindowsOf(d, pid, nullptr);
        if (all.size() == count) {
            const auto top = TopDialog(d, pid);
            Print(top ? *top : all.front());
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::fprintf(stderr, "process %lu did not show %zu windows within %.0f s\n", pid, count, seconds);
    return 1;
}

int Close(Display* d, unsigned long pid, const std::string& which) {
    std::optional<Found> target;
    if (which == "main") {
        const auto found = WindowsOf(d, pid, kMainTitle);
        if (!found.empty()) target = found.front();
    } else {
        target = TopDialog(d, pid);
    }
    if (!target) {
        std::fprintf(stderr, "no %s window of process %lu to close\n", which.c_str(), pid);
        return 1;
    }
    const Window w = target->id;
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, w, False, NoEventMask, &e);
    XSync(d, False);
    std::printf("closed %lu\n", w);
    return 0;
}

unsigned long Pixel(Display* d, int x, int y) {
    XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return 0;
    const unsigned long p = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return p;
}

// The lit menu label: white text on dark red, 0x800000 as rrggbb.
bool Lit(Display* d, int x, int y) { return Pixel(d, x, y) == 0x800000; }

// Moves the pointer and waits until the label at (x, y) is lit or dark;
// returns the milliseconds taken, or nothing after `limitMs`.
std::optional<double> Respond(Display* d, int moveX, int moveY, int x, int y, bool lit, int limitMs) {
    const auto start = Clock::now();
    XTestFakeMotionEvent(d, -1, moveX, moveY, CurrentTime);
    XFlush(d);
    while (Clock::now() - start < std::chrono::milliseconds(limitMs)) {
        if (Lit(d, x, y) == lit) return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return std::nullopt;
}

int Flood(Display* d, int rate, double seconds, int probeX, int probeY, int awayX, int awayY) {
    int major = 0, minor = 0, eventBase = 0, errorBase = 0;
    if (!XTestQueryExtension(d, &eventBase, &errorBase, &major, &minor)) {
        std::fprintf(stderr, "no XTEST on this server\n");
        return 1;
    }
    const KeySym keys[] = {XK_Left, XK_Right, XK_space, XK_Down, XK_a, XK_Shift_L, XK_F1, XK_Up};
    std::vector<KeyCode> codes;
    for (KeySym k : keys) codes.push_back(XKeysymToKeycode(d, k));

    const auto start = Clock::now();
    const auto end = start + std::chrono::duration<double>(seconds);
    long sent = 0;
    std::vector<double> responses;
    int missed = 0;
    auto nextProbe = start + std::chrono::seconds(1);
    // Batches every millisecond: the count sent follows the clock, so a slow
    // moment is made up for and the rate holds over the whole run.
    while (Clock::now() < end) {
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        const auto due = static_cast<long>(elapsed * rate);
        while (sent < due) {
            const KeyCode code = codes[static_cast<std::size_t>(sent / 2) % codes.size()];
            XTestFakeKeyEvent(d, code, sent % 2 == 0 ? True : False, CurrentTime);
            ++sent;
        }
        XFlush(d);
        if (Clock::now() >= nextProbe) {
            nextProbe += std::chrono::seconds(1);
            const auto on = Respond(d, probeX, probeY, probeX, probeY, true, 2000);
            if (on) responses.push_back(*on); else ++missed;
            Respond(d, awayX, awayY, probeX, probeY, false, 2000);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (sent % 2 == 1) XTestFakeKeyEvent(d, codes[static_cast<std::size_t>(sent / 2) % codes.size()], False, CurrentTime);
    XSync(d, False);
    const double took = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("sent %ld key events in %.2f s: %.0f a second\n", sent, took, static_cast<double>(sent) / took);
    std::printf("responses");
    for (double r : responses) std::printf(" %.1f", r);
    std::printf("\nmissed %d\n", missed);
    return 0;
}

// A fingerprint of a rectangle of the screen, to see when it changes.
std::optional<std::size_t> Fingerprint(Display* d, int x, int y, int width, int height, bool* allBlack = nullptr) {
    XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!image) return std::nullopt;
    std::size_t hash = 1469598103934665603u;
    bool black = true;
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i) {
            const unsigned long p = XGetPixel(image, i, j) & 0xFFFFFF;
            black = black && p == 0;
            hash = (hash ^ p) * 1099511628211u;
        }
    XDestroyImage(image);
    if (allBlack) *allBlack = black;
    return hash;
}

int Blinking(Display* d, int x, int y, int width, int height, double seconds) {
    const auto start = Clock::now();
    const auto end = start + std::chrono::duration<double>(seconds);
    std::optional<std::size_t> last;
    auto since = start;
    std::optional<double> shortest;
    int changes = 0;
    while (Clock::now() < end) {
        const auto now = Fingerprint(d, x, y, width, height);
        if (last && now != last) {
            // The first change ends a span whose start was not observed.
            if (++changes > 1) {
                const double span = std::chrono::duration<double, std::milli>(Clock::now() - since).count();
                shortest = shortest ? std::min(*shortest, span) : span;
            }
            since = Clock::now();
        }
        last = now;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!shortest) std::printf("%s\n", changes > 0 ? "changed" : "steady");
    else std::printf("blinking %.0f\n", *shortest);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: xpoke window|dialog|close|flood|pixel|blinking|black ...\n");
        return 2;
    }
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "cannot open the display\n");
        return 2;
    }
    const std::string what = argv[1];
    int status = 2;
    if (what == "window" && argc >= 4) {
        status = WaitWindow(d, std::strtoul(argv[2], nullptr, 10), std::atof(argv[3]), argc >= 5 ? argv[4] : nullptr);
    } else if (what == "dialog" && argc >= 5) {
        status = WaitDialog(d, std::strtoul(argv[2], nullptr, 10), std::atof(argv[3]),
                            std::strtoul(argv[4], nullptr, 10));
    } else if (what == "close" && argc >= 4) {
        status = Close(d, std::strtoul(argv[2], nullptr, 10), argv[3]);
    } else if (what == "flood" && argc >= 8) {
        status = Flood(d, std::atoi(argv[2]), std::atof(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                       std::atoi(argv[6]), std::atoi(argv[7]));
    } else if (what == "blinking" && argc >= 7) {
        status = Blinking(d, std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                          std::atof(argv[6]));
    } else if (what == "black" && argc >= 6) {
        bool black = false;
        const auto seen = Fingerprint(d, std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                                      &black);
        status = seen && black ? 0 : 1;
    } else if (what == "pixel" && argc >= 4) {
        std::printf("%06lx\n", Pixel(d, std::atoi(argv[2]), std::atoi(argv[3])));
        status = 0;
    } else {
        std::fprintf(stderr, "usage: xpoke window|dialog|close|flood|pixel|blinking|black ...\n");
    }
    XCloseDisplay(d);
    return status;
}
