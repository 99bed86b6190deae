#pragma once
// The game-state record: everything the main window knows about the game.
// Every procedure reads and writes it directly. The falling piece has no
// coordinates here: its position is the position of its four sprites.

#include <cstdint>

#include "engine/Well.h"

namespace tumblara {

// Windows virtual-key codes of the default playing keys.
inline constexpr std::int32_t kVkSpace = 32;
inline constexpr std::int32_t kVkLeft = 37;
inline constexpr std::int32_t kVkRight = 39;
inline constexpr std::int32_t kVkDown = 40;

struct GameState {
    Well Campo;                        // settled cells; all empty until the first game
    std::uint8_t Cella = 0;            // side of one cell in pixels, set once at load
    bool InGioco = false;              // gravity and piece keys act only while set
    bool NessunaPartita = true;        // no game started yet: pause is ignored
    std::int16_t TipoPezzo = 0;        // shape of the falling piece, 1..7
    std::int16_t RotPezzo = 0;         // its rotation state, 0..3
    std::int32_t ColorePezzo = 0;      // its picture index, 1..7
    std::int16_t TipoProssimo = 0;     // shape of the next piece
    std::int16_t RotProssimo = 0;      // its rotation state
    std::int32_t ColoreProssimo = 1;   // its picture index; the first game's first piece uses 1
    std::int32_t Intervallo = 0;       // gravity interval of the level, ms
    std::int32_t Punteggio = 0;        // score
    std::int32_t SogliaLivello = 0;    // score at which the next level starts
    bool Ripetizione = false;          // held shift keys repeat
    bool TastoPremuto = false;         // latch: a key is held and keys do not repeat
    bool CadutaPremuta = false;        // latch shared by fast fall and rotate
    std::int32_t TastoDestra = kVkRight;
    std::int32_t TastoSinistra = kVkLeft;
    std::int32_t TastoCaduta = kVkDown;
    std::int32_t TastoRotazione = kVkSpace;
};

}  // namespace tumblara
