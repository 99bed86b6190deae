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

// Higher is better: full rows, then a low, even stack without holes.
double Valuta(const Well& campo) {
    int full = 0;
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
    for (int r = 1; r < Well::kFloorRow; ++r) full += campo.RowFull(r) ? 1 : 0;
    return 0.76 * full - 0.51 * aggregate - 0.36 * holes - 0.18 * bumpiness;
}

// Tries one move on a copy of the game and scores where the piece comes to rest.
double Prova(const Game& game, const LeanWindow& window, Mossa m, int& shiftMade) {
    LeanWindow w = window;
    Game g(w);
    g.state = game.state;
    w.resume = &g.state.InGioco;
    shiftMade = Applica(g, w, m);
    // Stop right after the landing stores the piece, before full rows go.
    for (int i = 0; i < kMaxTicksPerPiece && g.Aggiorna(); ++i) {
        if (w.waitsForPlayer != 0) return -std::numeric_limits<double>::infinity();
    }
    return Valuta(g.state.Campo);
}

Mossa Migliore(const Game& game, const LeanWindow& window) {
    Mossa best;
    double bestScore = -std::numeric_limits<double>::infinity();
    for (int giri = 0; giri < 4; ++giri) {
        for (int verso : {-1, 1}) {
            for (int passi = verso > 0 ? 0 : 1; passi <= Well::kColumns; ++passi) {
                int made = 0;
                const Mossa m{giri, verso * passi};
                const double score = Prova(game, window, m, made);
                if (made != m.passi) break;  // blocked: further shifts repeat this one
                if (score > bestScore) {
                    bestScore = score;
                    best = m;
                }
            }
        }
    }
    return best;
}

}  // namespace

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
        const Mossa m = steering ? Migliore(game, window) : Mossa{};
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
