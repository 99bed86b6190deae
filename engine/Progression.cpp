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

    svc_.SetRetainedBackground(true);
    svc_.FillBlack(18 * cella, 15 * cella, 24 * cella, 21 * cella);
    for (const Cell& b : blocchi)
        svc_.PaintPicture(state.ColoreProssimo, (b.column + 19) * cella, (b.row + 16) * cella, cella);
    svc_.SetRetainedBackground(false);
}

void Game::AggiornaLivello() {
    state.SogliaLivello += 100;
    const std::int32_t d = state.Intervallo - 50;
    state.Intervallo = d == 0 ? 50 : d;
    state.InGioco = false;
    svc_.SetTimerInterval(TimerId::Timer1, state.Intervallo);
    svc_.SetCaption(LabelId::Label3, "Level " + NumeroConSegno((300 - d) / 50));
    svc_.SetTimerInterval(TimerId::Timer2, 100);
    svc_.PlaySound(kSuonoLivello);

    // The banner stays until the time of day reaches the whole second it
    // started in plus two. That span is measured on the monotonic clock, so a
    // pause begun just before midnight still ends.
    const float adesso = svc_.TimeOfDay();
    const double restano = (CInt(adesso) + 2.0 - static_cast<double>(adesso)) * 1000.0;
    const auto fine = svc_.Monotonic() + std::chrono::milliseconds(std::lround(restano));
    for (;;) {
        if (state.InGioco || terminato_) return;  // a new game or a resume took over
        const auto ora = svc_.Monotonic();
        if (ora >= fine) break;
        svc_.WaitForEvents(fine - ora);
    }

    svc_.SetTimerInterval(TimerId::Timer2, 0);
    svc_.SetVisible(LabelId::Label3, true);
    state.InGioco = true;
    state.Campo.Reset(1);

    const int cella = state.Cella;
    svc_.SetRetainedBackground(true);
    svc_.FillBlack(18 * cella, 15 * cella, 24 * cella, 21 * cella);
    svc_.FillBlack(cella, 1, 17 * cella, 32 * cella);
    svc_.SetRetainedBackground(false);
}

void Game::GameOver() {
    const int cella = state.Cella;
    // Drawn on the window only: a repaint brings the last preview back.
    svc_.FillBlack(18 * cella, 15 * cella, 24 * cella, 21 * cella);
    state.InGioco = false;
    state.TastoPremuto = false;
    state.CadutaPremuta = false;
    state.Punteggio = 0;
    svc_.SetCaption(LabelId::Label3, "Game Over");
    svc_.SetTimerInterval(TimerId::Timer2, 500);
    Gioco();
}

void Game::Timer2_Timer() {
    svc_.SetVisible(LabelId::Label3, !svc_.IsVisible(LabelId::Label3));
}

}  // namespace tumblara
