#pragma once
// The keys of a PC keyboard by their place, each with the Windows virtual-key
// code it gives: the codes the bindings hold and the key handlers compare.
// One table for every platform: the desktop finds a place by its Linux input
// code, the browser by KeyboardEvent.code.
// - The main block (digits, letters, the punctuation around them, the ISO key
//   beside left Shift) goes by place: whatever the layout prints on a key,
//   dead keys and AltGr levels included, each place keeps the code a US
//   keyboard has there.
// - The other keys are named keys (arrows, function keys, modifiers, the
//   keypad); the keypad's digits and decimal key give other codes with Num
//   Lock off, those of the navigation keys they then are.

#include <cstdint>
#include <span>
#include <string_view>

namespace tumblara {

struct TastoFisico {
    std::string_view code;         // the place's name, as KeyboardEvent.code spells it: "KeyA", "ArrowLeft"
    int evdev;                     // its Linux input code (the X keycode less 8), 0 where it has none
    std::int16_t vk;               // the code it gives
    bool perPosto = false;         // in the main block, where the place alone decides
    std::int16_t senzaNumLock = 0; // a keypad key's code with Num Lock off; 0: always vk
};

std::span<const TastoFisico> TastiFisici();

// The place of that name or Linux input code, or null.
const TastoFisico* TastoPerCodice(std::string_view code);
const TastoFisico* TastoPerEvdev(int evdev);

// The code a place gives, or 0 for a place the table does not know.
std::int16_t CodiceDelTasto(const TastoFisico* tasto, bool numLock);
std::int16_t CodiceDelTasto(std::string_view code, bool numLock);

}  // namespace tumblara
