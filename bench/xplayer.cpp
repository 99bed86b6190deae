// Plays the game in its real window until a given level, the way a player
// would: it reads the well off the screen, chooses where the new piece should
// rest by trying every move on a copy of the game, and presses the keys.
//
//   xplayer WINDOW LEVEL [SECONDS]
//
// Start it while the banner of a new game is showing: it waits for the
// banner to end, when the first piece stands at the top and keys act. Prints "level=N pieces=N rows=N seconds=S" when the landing that
// begins LEVEL has been made, or "error=..." if it cannot get there. With
// XPLAYER_TRACE set it lists each piece and its move on stderr.

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "bench/Autoplayer.h"
#include "bench/LeanWindow.h"
#include "bench/WellReader.h"
#include "bench/XSession.h"
#include "engine/Game.h"

namespace {

using namespace tumblara;
using namespace tumblara::bench;

constexpr int kPuntiRiga = 16;
constexpr int kPuntiLivello = 100;

class Giocatore {
public:
    Giocatore(Display* dpy, Window w, int cella, DamageWatch damage)
        : dpy_(dpy), w_(w), cella_(cella), damage_(damage) {
        XSetInputFocus(dpy_, w_, RevertToParent, CurrentTime);
    }

    // Reads the top of the well until a whole new piece shows there.
    std::optional<std::pair<PezzoVisto, Griglia>> AttendiPezzo(Clock::time_point deadline) {
        for (;;) {
            Griglia g = Leggi();
            if (auto p = PezzoEntrato(g)) return std::pair{*p, g};
            if (!NextRepaint(dpy_, damage_, deadline)) return std::nullopt;
        }
    }

    // Waits for the hand-over to the next piece, which repaints the preview box.
    bool AttendiCambio(Clock::time_point deadline) {
        const int left = 18 * cella_;
        const int top = 15 * cella_;
        const int right = 24 * cella_;
        const int bottom = 21 * cella_;
        while (const auto r = NextRepaint(dpy_, damage_, deadline)) {
            const XRectangle& b = r->bounds;
            if (b.x < right && b.x + b.width > left && b.y < bottom && b.y + b.height > top) return true;
        }
        return false;
    }

    void Premi(KeySym sym, int volte) {
        const KeyCode key = XKeysymToKeycode(dpy_, sym);
        // The game acts on a key-down only after the previous key went up. A
        // release and a press of one key with the same server time read as
        // auto-repeat and are dropped, so the presses are a few ms apart.
        for (int i = 0; i < volte; ++i) {
            XTestFakeKeyEvent(dpy_, key, True, CurrentTime);
            XTestFakeKeyEvent(dpy_, key, False, CurrentTime);
            XSync(dpy_, False);
            std::this_thread::sleep_for(std::chrono::milliseconds(3));
        }
    }

private:
    Griglia Leggi() {
        const int width = 17 * cella_;
        const int height = 32 * cella_;
        ImagePtr img(XGetImage(dpy_, w_, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), AllPlanes,
                               ZPixmap));
        if (!img) return {};
        const Luce luce = [&](int x, int y) {
            const unsigned long p = XGetPixel(img.get(), x, y);
            return static_cast<int>(std::max({(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF}));
        };
        return LeggiGriglia(luce, cella_);
    }

    Display* dpy_;
    Window w_;
    int cella_;
    DamageWatch damage_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: xplayer WINDOW LEVEL [SECONDS]\n");
        return 2;
    }
    DisplayPtr dpy(XOpenDisplay(nullptr));
    if (!dpy) {
        std::fprintf(stderr, "xplayer: cannot open the display\n");
        return 1;
    }
    const Window w = std::strtoul(argv[1], nullptr, 0);
    const int target = std::atoi(argv[2]);
    const double limit = argc > 3 ? std::atof(argv[3]) : 600.0;

    XWindowAttributes a{};
    XGetWindowAttributes(dpy.get(), w, &a);
    // The game's cell: the window width over 48, halves to even.
    const int cella = static_cast<int>(std::nearbyint(a.width / 48.0));
    const auto damage = WatchDamage(dpy.get(), w, XDamageReportRawRectangles);
    if (!damage) {
        std::printf("error=no DAMAGE extension\n");
        return 1;
    }
    Giocatore giocatore(dpy.get(), w, cella, *damage);

    const auto start = Clock::now();
    const auto end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(limit));
    const bool trace = std::getenv("XPLAYER_TRACE") != nullptr;
    int livello = 0;
    int punteggio = 0;
    int soglia = kPuntiLivello;
    int pezzi = 0;
    int righe = 0;
    // The end of the banner repaints the preview box, like every hand-over.
    if (!giocatore.AttendiCambio(std::min(end, Clock::now() + std::chrono::seconds(5)))) {
        std::printf("error=no level banner ended\n");
        return 1;
    }
    while (livello < target) {
        const auto visto = giocatore.AttendiPezzo(std::min(end, Clock::now() + std::chrono::seconds(10)));
        if (!visto) {
            std::printf("error=no new piece in the well after %d pieces at level %d\n", pezzi, livello);
            return 1;
        }
        LeanWindow window;
        Game game(window);
        Ricostruisci(game, window, visto->first, visto->second, cella);
        const Scelta scelta = Migliore(game, window);
        if (trace && std::getenv("XPLAYER_GRID")) {
            for (int r = 1; r < Well::kFloorRow; ++r) {
                for (int c = 1; c <= Well::kColumns; ++c) std::fputc(visto->second[c][r] ? '#' : '.', stderr);
                std::fputc('\n', stderr);
            }
        }
        if (trace)
            std::fprintf(stderr, "piece %d: shape %d rot %d at %d,%d -> turns %d shift %d rows %d\n", pezzi + 1,
                         visto->first.tipo, visto->first.rot, visto->first.x, visto->first.y, scelta.mossa.giri,
                         scelta.mossa.passi, scelta.righe);

        giocatore.Premi(XK_space, scelta.mossa.giri);
        giocatore.Premi(scelta.mossa.passi < 0 ? XK_Left : XK_Right, std::abs(scelta.mossa.passi));
        giocatore.Premi(XK_Down, 1);
        ++pezzi;
        righe += scelta.righe;
        punteggio += kPuntiRiga * scelta.righe;
        if (punteggio >= soglia) {
            ++livello;
            soglia += kPuntiLivello;
        }
        // A level's banner holds the hand-over for about two seconds.
        if (!giocatore.AttendiCambio(std::min(end, Clock::now() + std::chrono::seconds(5)))) {
            std::printf("error=the piece never landed after %d pieces at level %d\n", pezzi, livello);
            return 1;
        }
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("level=%d pieces=%d rows=%d seconds=%.1f\n", livello, pezzi, righe, seconds);
    return 0;
}
