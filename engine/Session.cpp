// A game's beginning, its pause, and the end of the program.

#include "engine/Game.h"

namespace tumblara {

Game::Game(WindowServices& services) : svc_(services) {}

void Game::NuovaPartita() {
    ++partite_;
    svc_.SetCaption(LabelId::Menu1, "Pausa");
    // Play runs again once the level change below is over.
    state.NessunaPartita = false;
    state.Campo.Reset(kFondoNuovaPartita);

    // The retained background is off here: this reaches the window only, and
    // the level set-up below blacks out the same rectangle in the retained image.
    const Riquadro pozzo = Pozzo(state.Cella);
    svc_.FillBlack(pozzo.x1, pozzo.y1, pozzo.x2, pozzo.y2);

    state.Intervallo = kIntervalloNuovaPartita;
    state.SogliaLivello = 0;
    state.Punteggio = 0;
    svc_.SetCaption(LabelId::Label2, "Score : " + NumeroConSegno(state.Punteggio));

    svc_.Randomize(svc_.TimeOfDay());
    const std::int16_t primo = ScegliPezzo();
    state.TipoProssimo = primo;
    state.TipoPezzo = primo;
    Posiziona(true);
    AggiornaLivello();
}

void Game::PausaContinua() {
    if (state.NessunaPartita) return;
    const std::string caption = svc_.Caption(LabelId::Menu1);
    if (caption == "Pausa") {
        state.InGioco = false;
        svc_.SetCaption(LabelId::Menu1, "Continua");
        Gioco();
    } else if (caption == "Continua") {
        state.InGioco = true;
        svc_.SetCaption(LabelId::Menu1, "Pausa");
    }
}

void Game::Esci() {
    Form_Unload();
    terminato_ = true;
    svc_.Quit();
}

void Game::Form_Activate() {
    if (state.NessunaPartita) GameOver();
}

void Game::Form_Unload() {
    state.InGioco = true;
}

}  // namespace tumblara
