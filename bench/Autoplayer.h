#pragma once
// A scripted player for whole-game benchmarks. Planning tries every turn and
// sideways shift of each piece on a copy of the game and keeps the best
// resting place; the plan is made once, outside the timed loop, and replayed
// move for move, so the timed loop runs nothing but the game.

#include <cstdint>
#include <vector>

#include "bench/LeanWindow.h"
#include "engine/Game.h"

namespace tumblara::bench {

// What the player does with one piece before letting it fall: quarter turns,
// then columns sideways (negative is left).
struct Mossa {
    int giri = 0;
    int passi = 0;
};

struct Piano {
    std::vector<Mossa> mosse;  // one per piece, in order
    int gravityTicks = 0;      // ticks the replay makes
    int livelli = 0;           // levels begun, the first included
    Well finalCampo;           // the well when the game ended
};

// The best resting place for the falling piece, and the rows it completes.
struct Scelta {
    Mossa mossa;
    int righe = 0;
};
// Tries every turn and shift on copies of `game`; `game` itself is untouched.
Scelta Migliore(const Game& game, const LeanWindow& window);

inline constexpr int kCellaBench = 21;  // a 1024-pixel-wide screen

// A game started on `window`, wired so that its waits for the player return.
void AvviaPartita(Game& game, LeanWindow& window);

// Plays one game to its end: `steered` pieces placed well, then the rest
// dropped where they appear until the well overflows.
Piano Pianifica(int steered);

// Replays `piano` on a fresh game started on `window`; returns the gravity ticks made.
int Rigioca(const Piano& piano, Game& game, LeanWindow& window);

}  // namespace tumblara::bench
