#pragma once
// One fuzz input played as a whole run of the program: a game on the lean
// window, the input's steps queued as events, the referee watching.

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace tumblara::fuzz {

struct MatchReport {
    std::string violation;   // the first broken rule, empty when none
    long events = 0;         // events and ticks handled
    long long virtualMs = 0; // virtual time the run lasted
    bool ended = false;      // the program ended through "Esci"
    int rowsRemoved = 0;     // in the last game, since its last reset
    int levelChanges = 0;    // in the last game
    int gamesOver = 0;
};

// After the last step the run goes on for this long, then stops wherever it is.
inline constexpr int kSettleMs = 3000;
// No run lasts longer than this in virtual time; later steps are dropped.
inline constexpr long long kMaxVirtualMs = 5 * 60 * 1000;

// `onViolation`, when given, hears about every broken rule at the moment it
// is found (the fuzz target aborts there, so the input is kept).
// `trace`, when given, hears one line per step as it is handled.
MatchReport PlayMatch(std::span<const std::uint8_t> data,
                      const std::function<void(const std::string&)>& onViolation = {},
                      const std::function<void(const std::string&)>& trace = {});

}  // namespace tumblara::fuzz
