#include "fuzz/RefereedGame.h"

namespace tumblara::fuzz {

RefereedGame::RefereedGame(int cella, double timeOfDay) : window(cella, static_cast<float>(timeOfDay), referee) {
    game.state.Cella = static_cast<std::uint8_t>(cella);
    referee.Attach(game, window);
    window.onTimer1 = [this] {
        const auto before = referee.BeforeTick();
        game.Timer1_Timer();
        referee.AfterTick(before);
        referee.Check();
    };
    window.onTimer2 = [this] {
        game.Timer2_Timer();
        referee.Check();
    };
}

void RefereedGame::NewGame() {
    referee.NewGameClicked();
    game.NuovaPartita();
}

}  // namespace tumblara::fuzz
