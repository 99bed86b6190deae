#pragma once
// The seven piece shapes. Block 1 is the reference block; blocks 2..4 lie at
// fixed (columns right, rows down) offsets from it.

#include <array>
#include <cstdint>

namespace tumblara {

struct Offset {
    int dc;
    int dr;
};

struct Cell {
    int column;
    int row;
};

using ShapeOffsets = std::array<Offset, 4>;
using PieceCells = std::array<Cell, 4>;

// Offsets of the four blocks of shape `tipo` (1..7) in rotation state `rot` (0..3).
// I, Z and S only tell even from odd states; O has one state.
const ShapeOffsets& Forma(std::int16_t tipo, std::int16_t rot);

// A new piece enters one row lower when its state has a block above block 1,
// so that its top block is always in row 1.
bool EntraAbbassato(std::int16_t tipo, std::int16_t rot);

// The cells of a new piece whose reference block is drawn at column `x`,
// including the nudge that keeps the J's foot off the left wall.
PieceCells NuovoPezzo(std::int16_t tipo, std::int16_t rot, int x);

// The J in state 0 has its foot one column left of block 1: block 1 in
// column 1 moves to column 2.
constexpr int CorreggiJ(std::int16_t tipo, std::int16_t rot, int x) {
    return (tipo == 4 && rot == 0 && x == 1) ? 2 : x;
}

}  // namespace tumblara
