#pragma once
// Reading the well off the screen, for a player that drives the real window:
// which cells show a block, and which four of them are the piece that has
// just entered at the top.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "bench/LeanWindow.h"
#include "engine/Game.h"
#include "engine/Well.h"

namespace tumblara::bench {

// Cells that show a block, [column][row] from 1; row 0 and the floor unused.
using Griglia = std::array<std::array<bool, Well::kRows + 1>, Well::kColumns + 1>;

// Brightness (the brightest channel, 0..255) of a window pixel.
using Luce = std::function<int(int x, int y)>;

// True when the cell at (x0, y0) shows a block picture: a horizontal ramp,
// dark at the left, brightest right of the middle, the same all the way down.
// Text over the well (the level banner) and the black background do not pass.
bool SembraBlocco(const Luce& luce, int x0, int y0, int cella);

Griglia LeggiGriglia(const Luce& luce, int cella);

// A falling piece as the game's shape table describes it: shape, rotation
// state, and the cell of its reference block.
struct PezzoVisto {
    std::int16_t tipo = 0;
    std::int16_t rot = 0;
    int x = 0;
    int y = 0;
};

// The piece that has just entered: a new piece fills only the top three rows,
// except a vertical bar, which reaches row 4. Settled blocks never stand
// above row 4 while a game runs. Nothing when the top rows hold no whole piece.
std::optional<PezzoVisto> PezzoEntrato(const Griglia& g);

// The settled cells: everything shown except the piece, with the floor.
Well CampoVisto(const Griglia& g, const PezzoVisto& pezzo);

// The game as the screen shows it, on `window`, for planning a move.
void Ricostruisci(Game& game, LeanWindow& window, const PezzoVisto& pezzo, const Griglia& g, int cella);

}  // namespace tumblara::bench
