// Piece choice and preview, levels, and the end of a game.

#include <chrono>
#include <cmath>

#include "engine/Game.h"
#include "engine/Rounding.h"
#include "engine/Shapes.h"

namespace tumblara {
namespace {

// floor(u * n) for u in [0, 1), computed so that it never reaches n.
int Scala(float u, int n) {
    return static_cast<int>(std::floor(static_cast<double>(u) * n));
}

}  // namespace

std::int16_t Game::ScegliPezzo() {
    const auto t = static_cast<std::int16_t>(Scala(svc_.Rnd(), 7) + 1);
    state.RotProssimo = static_cast<std::int16_t>(Scala(svc_.Rnd(), 4));
    state.ColorePezzo = state.ColoreProssimo;
    state.ColoreProssimo = Scala(svc_.Rnd(), 7) + 1;
    for (int k = 1; k <= 4; ++k) svc_.SetSpritePicture(k, state.ColorePezzo);
    return t;
}

void Game::ProssimoPezzo() {
    const PieceCells blocchi = NuovoPezzo(state.TipoProssimo, state.RotProssimo, 1);
    const int cella = state.Cella;
    const Riquadro box = Anteprima(cella);

    svc_.SetRetainedBackground(true);
    svc_.FillBlack(box.x1, box.y1, box.x2, box.y2);
    for (const Cell& b : blocchi)
        svc_.PaintPicture(state.ColoreProssimo, (b.column + kAnteprimaColonna) * cella,
                          (b.row + kAnteprimaRiga) * cella, cella);
    svc_.SetRetainedBackground(false);
}

void Game::AggiornaLivello() {
    state.SogliaLivello += kPuntiLivello;
    const std::int32_t d = state.Intervallo - kPassoIntervallo;
    state.Intervallo = d == 0 ? kIntervalloMinimo : d;
    state.InGioco = false;
    svc_.SetTimerInterval(TimerId::Timer1, state.Intervallo);
    svc_.SetCaption(LabelId::Label3, "Level " + NumeroConSegno((kIntervalloAvvio - d) / kPassoIntervallo));
    svc_.SetTimerInterval(TimerId::Timer2, kLampeggioLivello);
    svc_.PlaySound(kSuonoLivello);

    // The banner stays until the time of day reaches the whole second it
    // started in plus two. That span is measured on the monotonic clock, so a
    // pause begun just before midnight still ends.
    const float adesso = svc_.TimeOfDay();
    const double restano = (CInt(adesso) + kSecondiBanner - static_cast<double>(adesso)) * 1000.0;
    const auto fine = svc_.Monotonic() + std::chrono::milliseconds(std::lround(restano));
    // Play set running again while the banner waits is either "Continua", which
    // ends the wait early, or a new game, which ran its own level change inside
    // this wait and leaves nothing more for this one to do.
    const std::uint32_t partita = partite_;
    for (;;) {
        if (terminato_ || partite_ != partita) return;
        if (state.InGioco) break;
        const auto ora = svc_.Monotonic();
        if (ora >= fine) break;
        svc_.WaitForEvents(fine - ora);
    }

    svc_.SetTimerInterval(TimerId::Timer2, 0);
    svc_.SetVisible(LabelId::Label3, true);
    state.InGioco = true;
    state.Campo.Reset(kFondoLivello);

    const Riquadro box = Anteprima(state.Cella);
    const Riquadro pozzo = Pozzo(state.Cella);
    svc_.SetRetainedBackground(true);
    svc_.FillBlack(box.x1, box.y1, box.x2, box.y2);
    svc_.FillBlack(pozzo.x1, pozzo.y1, pozzo.x2, pozzo.y2);
    svc_.SetRetainedBackground(false);
}

void Game::GameOver() {
    // Drawn on the window only: a repaint brings the last preview back.
    const Riquadro box = Anteprima(state.Cella);
    svc_.FillBlack(box.x1, box.y1, box.x2, box.y2);
    state.InGioco = false;
    state.TastoPremuto = false;
    state.CadutaPremuta = false;
    state.Punteggio = 0;
    svc_.SetCaption(LabelId::Label3, "Game Over");
    svc_.SetTimerInterval(TimerId::Timer2, kLampeggioFine);
    Gioco();
}

void Game::Timer2_Timer() {
    svc_.SetVisible(LabelId::Label3, !svc_.IsVisible(LabelId::Label3));
}

}  // namespace tumblara
