// After a landing: the piece becomes part of the well and full rows go.

#include <string>

#include "engine/Game.h"
#include "engine/Rounding.h"

namespace tumblara {

std::string NumeroConSegno(std::int32_t value) {
    // The numbers shown (score, level) are never negative.
    return " " + std::to_string(value);
}

void Game::disegna() {
    std::array<std::int32_t, 4> x{};
    std::array<std::int32_t, 4> y{};

    svc_.SetRetainedBackground(true);
    for (int k = 1; k <= 4; ++k) {
        x[k - 1] = CInt(svc_.SpriteLeft(k));
        y[k - 1] = CInt(svc_.SpriteTop(k));
        svc_.MoveSprite(k, kParcheggioX, ParcheggioY(state.Cella));
    }
    for (std::size_t k = 0; k < 4; ++k)
        svc_.PaintPicture(state.ColorePezzo, x[k], y[k], state.Cella);
    svc_.SetRetainedBackground(false);

    // Before the landing no row was full, so every full row holds a block of
    // the landed piece; removing one moves any other full row into the rows
    // still examined.
    for (;;) {
        const std::int16_t riga = Verifica(y);
        if (riga == 0) break;
        AggiornaPunteggio(riga);
    }

    if (state.Punteggio >= state.SogliaLivello) AggiornaLivello();
}

std::int16_t Game::Verifica(std::array<std::int32_t, 4> Y) const {
    for (int k = 4; k >= 1; --k) {
        const int riga = Y[static_cast<std::size_t>(k - 1)] / state.Cella;
        if (Well::Contains(1, riga) && state.Campo.RowFull(riga))
            return static_cast<std::int16_t>(riga);
    }
    return 0;
}

void Game::AggiornaPunteggio(std::int32_t Riga) {
    svc_.PlaySound(kSuonoRiga);

    svc_.SetRetainedBackground(true);
    const int cella = state.Cella;
    for (int r = Riga; r >= 2; --r) {
        int vuote = 0;
        for (int c = 1; c <= Well::kColumns; ++c) {
            const std::uint8_t v = state.Campo(c, r - 1);
            state.Campo(c, r) = v;
            if (v == 0) {
                ++vuote;
                svc_.FillBlack(c * cella, r * cella, (c + 1) * cella - 1, (r + 1) * cella - 1);
            } else {
                svc_.PaintPicture(v, c * cella, r * cella, cella);
            }
        }
        if (vuote == Well::kColumns) break;  // everything above is empty too
    }
    svc_.SetRetainedBackground(false);

    state.Punteggio += kPuntiRiga;
    svc_.SetCaption(LabelId::Label2, "Score : " + NumeroConSegno(state.Punteggio));
}

}  // namespace tumblara
