#pragma once
// A game on the lean window with the referee watching: every gravity tick is
// bracketed and every tick and blink checked. The table every fuzz run plays
// on, and the one the referee's own tests plant their faults in.

#include "engine/Game.h"
#include "fuzz/FuzzWindow.h"
#include "fuzz/Referee.h"

namespace tumblara::fuzz {

struct RefereedGame {
    Referee referee;
    FuzzWindow window;
    Game game{window};

    RefereedGame(int cella, double timeOfDay);
    RefereedGame(const RefereedGame&) = delete;
    RefereedGame& operator=(const RefereedGame&) = delete;

    // "Nuova Partita" clicked, told to the referee first.
    void NewGame();
};

}  // namespace tumblara::fuzz
