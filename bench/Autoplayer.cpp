#include "bench/Autoplayer.h"

#include <algorithm>
#include <limits>

namespace tumblara::bench {
namespace {

// Ends a piece's fall far beyond any real one, should a plan go wrong.
constexpr int kMaxTicksPerPiece = 64;

// Applies the turns and shifts; returns the shift actually made (walls and
// settled blocks may stop it early).
int Applica(Game& game, LeanWindow& window, Mossa m) {
    for (int i = 0; i < m.giri; ++i) game.Ruota();
    const bool destra = m.passi > 0;
    int fatti = 0;
    for (int i = 0; i < std::abs(m.passi); ++i) {
        const float prima = window.SpriteLeft(1);
        game.Muovi(destra);
        if (window.SpriteLeft(1) == prima) break;
        ++fatti;
    }
    return destra ? fatti : -fatti;
}

// Gravity until the piece rests or the game ends.
int Cadi(Game& game, LeanWindow& window) {
    game.CadutaRapida();
    const int landings = window.landings;
    int ticks = 0;
    while (window.landings == landings && window.waitsForPlayer == 0 && ticks < kMaxTicksPerPiece) {
        game.Timer1_Timer();
        ++ticks;
    }
    return ticks;
}

struct Esito {
    double punteggio = -std::numeric_limits<double>::infinity();
    int righe = 0;       // rows the landing completes
    int spostamento = 0; // columns actually moved
};

// Higher is better: full rows, then a low, even stack without holes.
double Valuta(const Well& campo, int full) {
    int holes = 0;
    int aggregate = 0;
    int bumpiness = 0;
    int previous = -1;
    for (int c = 1; c <= Well::kColumns; ++c) {
        int height = 0;
        for (int r = 1; r < Well::kFloorRow; ++r) {
            if (campo(c, r) != 0) {
                if (height == 0) height = Well::kFloorRow - r;
            } else if (height != 0) {
                ++holes;
            }
        }
        aggregate += height;
        if (previous >= 0) bumpiness += std::abs(height - previous);
        previous = height;
    }
    return 0.76 * full - 0.51 * aggregate - 0.36 * holes - 0.18 * bumpiness;
}

// Tries one move on a copy of the game and scores where the piece comes to rest.
Esito Prova(const Game& game, const LeanWindow& window, Mossa m) {
    LeanWindow w = window;
    Game g(w);
    g.state = game.state;
    w.resume = &g.state.InGioco;
    Esito e;
    e.spostamento = Applica(g, w, m);
    // Stop right after the landing stores the piece, before full rows go.
    for (int i = 0; i < kMaxTicksPerPiece && g.Aggiorna(); ++i) {
        if (w.waitsForPlayer != 0) return e;
    }
    for (int r = 1; r < Well::kFloorRow; ++r) e.righe += g.state.Campo.RowFull(r) ? 1 : 0;
    e.punteggio = Valuta(g.state.Campo, e.righe);
    return e;
}

}  // namespace

Scelta Migliore(const Game& game, const LeanWindow& window) {
    Scelta best;
    double bestScore = -std::numeric_limits<double>::infinity();
    for (int giri = 0; giri < 4; ++giri) {
        for (int verso : {-1, 1}) {
            for (int passi = verso > 0 ? 0 : 1; passi <= Well::kColumns; ++passi) {
                const Mossa m{giri, verso * passi};
                const Esito e = Prova(game, window, m);
                if (e.spostamento != m.passi) break;  // blocked: further shifts repeat this one
                if (e.punteggio > bestScore) {
                    bestScore = e.punteggio;
                    best = {m, e.righe};
                }
            }
        }
    }
    return best;
}

void AvviaPartita(Game& game, LeanWindow& window) {
    game.state.Cella = kCellaBench;
    window.resume = &game.state.InGioco;
    game.NuovaPartita();
}

Piano Pianifica(int steered) {
    LeanWindow window;
    Game game(window);
    AvviaPartita(game, window);
    Piano piano;
    while (window.waitsForPlayer == 0) {
        const bool steering = static_cast<int>(piano.mosse.size()) < steered;
        const Mossa m = steering ? Migliore(game, window).mossa : Mossa{};
        piano.mosse.push_back(m);
        Applica(game, window, m);
        piano.gravityTicks += Cadi(game, window);
    }
    piano.finalCampo = game.state.Campo;
    piano.livelli = game.state.SogliaLivello / 100;
    return piano;
}

int Rigioca(const Piano& piano, Game& game, LeanWindow& window) {
    AvviaPartita(game, window);
    int ticks = 0;
    for (const Mossa& m : piano.mosse) {
        if (window.waitsForPlayer != 0) break;
        Applica(game, window, m);
        ticks += Cadi(game, window);
    }
    return ticks;
}

}  // namespace tumblara::bench
