#pragma once
// The main window's key handlers: they steer the falling piece with the four
// bound keys, under the two latches that make a held key act once when keys
// do not repeat. Key codes are Windows virtual-key codes (see VirtualKey.h).

#include <cstdint>

namespace tumblara {

class Game;
struct GameState;

// The four actions, numbered as SetKey's KeyId.
enum class Azione : std::int32_t { Destra = 1, Sinistra = 2, Caduta = 3, Rotazione = 4 };

// A key-down of the main window; `Shift` (the modifier mask) is not looked at.
void Form_KeyDown(Game& game, std::int16_t KeyCode, std::int16_t Shift);
// A key-up of the main window, whatever the key: both latches clear.
void Form_KeyUp(Game& game, std::int16_t KeyCode, std::int16_t Shift);
// The main window lost the keyboard: the release of a held key goes elsewhere,
// so the latches clear now, as that release would have done.
void Form_Deactivate(Game& game);

// 0 asks whether held keys repeat; 1 turns repetition on, 2 off (both answer
// false); any other value changes nothing and answers false.
bool Repetition(GameState& state, std::int16_t Repeat);

// Whether KeyCode is bound to one of the four actions.
bool TastoLegato(const GameState& state, std::int32_t KeyCode);

// Binds action KeyId (1..4) to KeyVal; any other KeyId changes nothing.
void SetKey(GameState& state, std::int32_t KeyId, std::int32_t KeyVal);

}  // namespace tumblara
