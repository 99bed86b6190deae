#pragma once
// The numbers of the game's rules, each named once. The engine, the test fake
// and the fuzzer all read them from here. The well's grid itself is Well.h's.

#include <algorithm>
#include <cstdint>

namespace tumblara {

// Gravity, in milliseconds. The gravity timer starts at kIntervalloAvvio when
// the window is created; a new game sets kIntervalloNuovaPartita and its own
// level change at once takes a step off, so level 0 runs at kIntervalloAvvio.
inline constexpr std::int32_t kIntervalloAvvio = 300;
inline constexpr std::int32_t kIntervalloNuovaPartita = 350;
inline constexpr std::int32_t kPassoIntervallo = 50;   // taken off at each level
inline constexpr std::int32_t kIntervalloMinimo = 50;  // from level 5 on
inline constexpr std::int32_t kIntervalloCaduta = 20;  // the fast drop

// The blinking of the label over the well, and how long a level banner lasts.
inline constexpr std::int32_t kLampeggioLivello = 100;
inline constexpr std::int32_t kLampeggioFine = 500;
inline constexpr double kSecondiBanner = 2.0;

// Score and levels.
inline constexpr std::int32_t kPuntiRiga = 16;
inline constexpr std::int32_t kPuntiLivello = 100;

// A piece that comes to rest with a block in a row above this one ends the game.
inline constexpr int kRigaPiuAltaDiSosta = 4;

// A new piece's block 1 starts in one of the columns 1..kColonneDiPartenza,
// so that the widest state, a flat I, still ends in the last column.
inline constexpr int kColonneDiPartenza = 13;

// A turn with a block right of kBordoRotazione first pushes the piece left
// until its rightmost block stands in kColonnaDopoSpinta.
inline constexpr int kBordoRotazione = 13;
inline constexpr int kColonnaDopoSpinta = 12;

// The floor row's markers: any non-zero value stops a piece.
inline constexpr std::uint8_t kFondoNuovaPartita = 255;
inline constexpr std::uint8_t kFondoLivello = 1;

// Rectangles of the window's background in pixels, both corners included.
struct Riquadro {
    int x1;
    int y1;
    int x2;
    int y2;
};
// The well: columns 1..16 from one pixel below the window's top to the bottom of row 31.
constexpr Riquadro Pozzo(int cella) { return {cella, 1, 17 * cella, 32 * cella}; }
// The next-piece box right of the well; a block of the preview's layout at
// (column, row) is painted in the window's cell (column + 19, row + 16).
constexpr Riquadro Anteprima(int cella) { return {18 * cella, 15 * cella, 24 * cella, 21 * cella}; }
inline constexpr int kAnteprimaColonna = 19;
inline constexpr int kAnteprimaRiga = 16;

// Sprites are parked here after a landing, outside the well and wholly above
// the window: 20 pixels up, or a whole cell when cells are larger, so that no
// row of a Cella-sized sprite shows in the window's top-left corner.
inline constexpr float kParcheggioX = 0.0f;
constexpr float ParcheggioY(int cella) { return -static_cast<float>(std::max(20, cella)); }

}  // namespace tumblara
