// A pointer for Wayland tests: compositors give clients no way to send input
// to each other, but wlroots-based ones accept a virtual pointer.
//
//   wlpointer <width> <height> (move <x> <y> | click | wait <ms>)...
//
// moves to output pixel (x, y) of a <width> x <height> output, clicks the
// left button, or waits. Exit status 1 when the compositor has no virtual
// pointers.

#include <linux/input-event-codes.h>
#include <wayland-client.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <thread>

namespace {

// The two interfaces of the virtual-pointer protocol, as far as used here.
// Only the requests' signatures matter to the client side.
extern const wl_interface kVirtualPointer;
const wl_interface* kCreateTypes[] = {&wl_seat_interface, &kVirtualPointer};
const wl_message kManagerRequests[] = {{"create_virtual_pointer", "?on", kCreateTypes}};
const wl_interface kManager = {"zwlr_virtual_pointer_manager_v1", 1, 1, kManagerRequests, 0, nullptr};
const wl_interface* kNoTypes[] = {nullptr, nullptr, nullptr, nullptr, nullptr};
const wl_message kPointerRequests[] = {
    {"motion", "uff", kNoTypes},          {"motion_absolute", "uuuuu", kNoTypes},
    {"button", "uuu", kNoTypes},          {"axis", "uuf", kNoTypes},
    {"frame", "", kNoTypes},
};
const wl_interface kVirtualPointer = {"zwlr_virtual_pointer_v1", 1, 5, kPointerRequests, 0, nullptr};
enum Request : std::uint32_t { kMotionAbsolute = 1, kButton = 2, kFrame = 4 };

// Client-side objects are freed before the connection goes.
struct ProxyDeleter {
    void operator()(void* proxy) const { wl_proxy_destroy(static_cast<wl_proxy*>(proxy)); }
};
using Proxy = std::unique_ptr<wl_proxy, ProxyDeleter>;

struct Globals {
    std::unique_ptr<wl_seat, ProxyDeleter> seat;
    Proxy manager;
};

void Announce(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t) {
    auto* g = static_cast<Globals*>(data);
    if (std::strcmp(interface, "wl_seat") == 0 && !g->seat)
        g->seat.reset(static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1)));
    if (std::strcmp(interface, kManager.name) == 0)
        g->manager.reset(static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kManager, 1)));
}
void Remove(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener kListener = {Announce, Remove};

std::uint32_t Now() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

int Run(wl_display* display, int argc, char** argv);

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: wlpointer <width> <height> (move <x> <y> | click | wait <ms>)...\n");
        return 2;
    }
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "wlpointer: no Wayland display\n");
        return 1;
    }
    const int status = Run(display, argc, argv);
    wl_display_disconnect(display);
    return status;
}

int Run(wl_display* display, int argc, char** argv) {
    Globals g;
    const std::unique_ptr<wl_registry, ProxyDeleter> registry(wl_display_get_registry(display));
    wl_registry_add_listener(registry.get(), &kListener, &g);
    wl_display_roundtrip(display);
    if (!g.manager) {
        std::fprintf(stderr, "wlpointer: the compositor offers no virtual pointer\n");
        return 1;
    }
    const Proxy owner(wl_proxy_marshal_constructor(g.manager.get(), 0, &kVirtualPointer, g.seat.get(), nullptr));
    wl_proxy* pointer = owner.get();
    const auto width = static_cast<std::uint32_t>(std::atoi(argv[1]));
    const auto height = static_cast<std::uint32_t>(std::atoi(argv[2]));
    // The new pointer device reaches the client a little after it is made.
    wl_display_roundtrip(display);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));

    for (int i = 3; i < argc; ++i) {
        const std::string_view command = argv[i];
        if (command == "move" && i + 2 < argc) {
            const auto x = static_cast<std::uint32_t>(std::atoi(argv[++i]));
            const auto y = static_cast<std::uint32_t>(std::atoi(argv[++i]));
            wl_proxy_marshal(pointer, kMotionAbsolute, Now(), x, y, width, height);
            wl_proxy_marshal(pointer, kFrame);
        } else if (command == "click") {
            for (std::uint32_t state : {WL_POINTER_BUTTON_STATE_PRESSED, WL_POINTER_BUTTON_STATE_RELEASED}) {
                wl_proxy_marshal(pointer, kButton, Now(), BTN_LEFT, state);
                wl_proxy_marshal(pointer, kFrame);
                wl_display_roundtrip(display);
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
            }
        } else if (command == "wait" && i + 1 < argc) {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[++i])));
        } else {
            std::fprintf(stderr, "wlpointer: unknown command %s\n", argv[i]);
            return 2;
        }
        wl_display_roundtrip(display);
    }
    return 0;
}
