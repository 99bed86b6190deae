#pragma once
// The byte format of one fuzz input: a 4-byte header, then 4-byte steps.
//
// Header: cell size (1 + byte % 255), time of day at start (16 bits, scaled
// over the day, so inputs near 0xFFFF start just before midnight), one spare.
// Step: operation, delay before it, two argument bytes. Delays below 160 are
// milliseconds; from 160 up they count in tenths of a second (100..9600 ms),
// so one step can sit through a level banner or a run of gravity ticks.
//
// Every step is an event the running program can receive: a key going down
// or up, a menu click, a change made in the options window, a stray tick, an
// activation of the window. Events are queued on a virtual clock and handed
// over inside the game's own waits, just as the window system does.

#include <cstdint>
#include <span>
#include <vector>

namespace tumblara::fuzz {

enum class Op : std::uint8_t {
    KeyDown,        // a: which bound key (a % 4), b: modifier mask
    KeyUp,          // a: which bound key (a % 4)
    KeyDownCode,    // any 16-bit key code: a low byte, b high byte
    KeyUpCode,      // same
    NewGame,        // "Nuova Partita"
    Pause,          // "Pausa" / "Continua"
    Exit,           // "Esci", only when a is 'X': most inputs keep playing
    Repetition,     // Repetition(a | b << 8)
    SetKey,         // SetKey(a % 6, b): key numbers 0 and 5 do not exist
    Tick,           // a gravity tick outside the timer's rhythm
    Blink,          // a blink tick outside the timer's rhythm
    Activate,       // the main window becomes active
    Random,         // the next value of the random source: (a | b << 8) / 65536
    PileUp,         // settles blocks over row 4 + a % 28, leaving column 1 + b % 16 open
    Idle,           // nothing but the delay
    Info,           // "Info" and the other clicks that leave the game alone
    Deactivate,     // the main window loses the keyboard
    Count
};

struct Step {
    Op op;
    std::uint8_t delay = 0;
    std::uint8_t a = 0;
    std::uint8_t b = 0;
};

struct Header {
    std::uint8_t cella = 20;  // cell size in pixels, 1..255
    std::uint16_t timeOfDay = 0x8000;
};

inline constexpr std::size_t kHeaderBytes = 4;
inline constexpr std::size_t kStepBytes = 4;
// Bounds that keep every input fast: at most this many steps are read.
inline constexpr std::size_t kMaxSteps = 2048;

int CellaOf(std::uint8_t byte);
double TimeOfDayOf(std::uint16_t value);
int DelayMs(std::uint8_t byte);
// The delay byte closest to `ms` (rounded down in the coarse range).
std::uint8_t DelayByte(int ms);

// Writes an input that decodes to exactly these steps.
std::vector<std::uint8_t> Encode(const Header& header, const std::vector<Step>& steps);

struct Decoded {
    Header header;
    std::vector<Step> steps;
};
Decoded Decode(std::span<const std::uint8_t> data);

}  // namespace tumblara::fuzz
