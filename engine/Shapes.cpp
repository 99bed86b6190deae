#include "engine/Shapes.h"

#include <cassert>

namespace tumblara {
namespace {

// [type - 1][rotation]; the repeated states of I, O, Z and S are written out
// so that lookup is a plain index.
constexpr std::array<std::array<ShapeOffsets, 4>, 7> kShapes{{
    // 1 I
    {{{{{0, 0}, {1, 0}, {2, 0}, {3, 0}}},
      {{{0, 0}, {0, 1}, {0, 2}, {0, 3}}},
      {{{0, 0}, {1, 0}, {2, 0}, {3, 0}}},
      {{{0, 0}, {0, 1}, {0, 2}, {0, 3}}}}},
    // 2 O
    {{{{{0, 0}, {1, 0}, {0, 1}, {1, 1}}},
      {{{0, 0}, {1, 0}, {0, 1}, {1, 1}}},
      {{{0, 0}, {1, 0}, {0, 1}, {1, 1}}},
      {{{0, 0}, {1, 0}, {0, 1}, {1, 1}}}}},
    // 3 L
    {{{{{0, 0}, {0, 1}, {0, 2}, {1, 2}}},
      {{{0, 0}, {1, 0}, {2, 0}, {2, -1}}},
      {{{0, 0}, {1, 0}, {1, 1}, {1, 2}}},
      {{{0, 0}, {1, 0}, {2, 0}, {0, 1}}}}},
    // 4 J
    {{{{{0, 0}, {0, 1}, {0, 2}, {-1, 2}}},
      {{{0, 0}, {1, 0}, {2, 0}, {2, 1}}},
      {{{0, 0}, {1, 0}, {0, 1}, {0, 2}}},
      {{{0, 0}, {0, 1}, {1, 1}, {2, 1}}}}},
    // 5 Z
    {{{{{0, 0}, {0, 1}, {1, -1}, {1, 0}}},
      {{{0, 0}, {1, 0}, {1, 1}, {2, 1}}},
      {{{0, 0}, {0, 1}, {1, -1}, {1, 0}}},
      {{{0, 0}, {1, 0}, {1, 1}, {2, 1}}}}},
    // 6 S
    {{{{{0, 0}, {0, 1}, {1, 1}, {1, 2}}},
      {{{0, 0}, {1, 0}, {1, -1}, {2, -1}}},
      {{{0, 0}, {0, 1}, {1, 1}, {1, 2}}},
      {{{0, 0}, {1, 0}, {1, -1}, {2, -1}}}}},
    // 7 T
    {{{{{0, 0}, {1, 0}, {2, 0}, {1, -1}}},
      {{{0, 0}, {1, -1}, {1, 0}, {1, 1}}},
      {{{0, 0}, {1, 0}, {2, 0}, {1, 1}}},
      {{{0, 0}, {0, 1}, {1, 1}, {0, 2}}}}},
}};

}  // namespace

const ShapeOffsets& Forma(std::int16_t tipo, std::int16_t rot) {
    assert(tipo >= 1 && tipo <= 7 && rot >= 0 && rot <= 3);
    return kShapes[static_cast<std::size_t>(tipo - 1)][static_cast<std::size_t>(rot)];
}

bool EntraAbbassato(std::int16_t tipo, std::int16_t rot) {
    for (const Offset& o : Forma(tipo, rot))
        if (o.dr < 0) return true;
    return false;
}

PieceCells NuovoPezzo(std::int16_t tipo, std::int16_t rot, int x) {
    const int X = CorreggiJ(tipo, rot, x);
    const int Y = EntraAbbassato(tipo, rot) ? 2 : 1;
    PieceCells cells{};
    const ShapeOffsets& f = Forma(tipo, rot);
    for (std::size_t k = 0; k < 4; ++k) cells[k] = {X + f[k].dc, Y + f[k].dr};
    return cells;
}

}  // namespace tumblara
