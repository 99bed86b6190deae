// The gravity tick: a step down, or a landing and the hand-over to the next piece.

#include "engine/Game.h"

namespace tumblara {

void Game::Timer1_Timer() {
    if (!state.InGioco) return;
    if (!PezzoNelCampo()) return;
    const bool landed = !Aggiorna();
    if (!landed) return;

    disegna();
    // A level banner inside disegna may have been cut short by the end of the program.
    if (terminato_) return;

    // The hand-over reads RotProssimo before ScegliPezzo draws a new one; the
    // new piece takes the picture chosen one piece earlier.
    state.TipoPezzo = state.TipoProssimo;
    state.RotPezzo = state.RotProssimo;
    state.TipoProssimo = ScegliPezzo();
    ProssimoPezzo();
    Posiziona(true);
    svc_.SetTimerInterval(TimerId::Timer1, state.Intervallo);  // ends a fast drop
}

bool Game::Aggiorna() {
    const Celle c = CelleDelPezzo();

    bool libero = true;
    for (std::size_t k = 0; k < 4; ++k)
        if (state.Campo(c.column[k], c.row[k] + 1) != 0) libero = false;

    if (libero) {
        svc_.PlaySound(kSuonoPasso);
        const float step = state.Cella;
        for (int k = 1; k <= 4; ++k)
            svc_.MoveSprite(k, svc_.SpriteLeft(k), svc_.SpriteTop(k) + step);
        return true;
    }

    for (std::size_t k = 0; k < 4; ++k) {
        if (c.row[k] < kRigaPiuAltaDiSosta) {
            // Blocks stored so far stay in Campo; the next game clears it.
            GameOver();
            return true;
        }
        state.Campo(c.column[k], c.row[k]) = static_cast<std::uint8_t>(state.ColorePezzo);
    }
    return false;
}

void Game::CadutaRapida() {
    // The piece is not moved here: faster ticks carry it down, and the tick
    // that lands it restores the level's interval.
    svc_.SetTimerInterval(TimerId::Timer1, kIntervalloCaduta);
}

void Game::Gioco() {
    while (!state.InGioco) svc_.WaitForEvents(std::nullopt);
}

}  // namespace tumblara
