// Laying the falling piece out, and moving and turning it.

#include <algorithm>
#include <cmath>

#include "engine/Game.h"
#include "engine/Rounding.h"
#include "engine/Shapes.h"

namespace tumblara {

Game::Celle Game::CelleDelPezzo() const {
    Celle c{};
    const double cella = state.Cella;
    for (int k = 1; k <= 4; ++k) {
        c.column[k - 1] = CInt(svc_.SpriteLeft(k) / cella);
        c.row[k - 1] = CInt(svc_.SpriteTop(k) / cella);
    }
    return c;
}

// True while the four sprites show a piece in the well's rows (0..31). The
// sprites are parked above the window between a landing and the next piece;
// a tick or a turn handled in that gap has no piece to act on.
bool Game::PezzoNelCampo() const {
    const Celle c = CelleDelPezzo();
    for (std::size_t k = 0; k < 4; ++k)
        if (c.row[k] < 0 || c.row[k] >= Well::kFloorRow) return false;
    return true;
}

void Game::Posiziona(bool inizio) {
    int X = 0;
    int Y = 0;
    if (inizio) {
        // Product in double so that u just below 1 can never pass the last start column.
        X = static_cast<int>(std::floor(static_cast<double>(svc_.Rnd()) * kColonneDiPartenza)) + 1;
        Y = EntraAbbassato(state.TipoPezzo, state.RotPezzo) ? 2 : 1;
    } else {
        X = CInt(svc_.SpriteLeft(1) / static_cast<double>(state.Cella));
        Y = CInt(svc_.SpriteTop(1) / static_cast<double>(state.Cella));
    }
    X = CorreggiJ(state.TipoPezzo, state.RotPezzo, X);

    const ShapeOffsets& forma = Forma(state.TipoPezzo, state.RotPezzo);
    for (int k = 1; k <= 4; ++k) {
        const Offset& o = forma[static_cast<std::size_t>(k - 1)];
        svc_.MoveSprite(k, static_cast<float>((X + o.dc) * state.Cella),
                        static_cast<float>((Y + o.dr) * state.Cella));
    }
}

bool Game::Controlla(bool Destra) const {
    const int d = Destra ? 1 : -1;
    const Celle c = CelleDelPezzo();
    for (std::size_t k = 0; k < 4; ++k) {
        const int column = c.column[k] + d;
        const int row = c.row[k];
        if (!Well::Contains(column, row)) return false;  // walls, and row 0
        if (state.Campo(column, row) != 0) return false;
    }
    return true;
}

void Game::sposta() {
    std::int32_t m = 0;
    for (int k = 1; k <= 4; ++k)
        if (svc_.SpriteLeft(k) > static_cast<float>(m)) m = CInt(svc_.SpriteLeft(k));
    const std::int32_t shift = m - kColonnaDopoSpinta * state.Cella;
    for (int k = 1; k <= 4; ++k)
        svc_.MoveSprite(k, svc_.SpriteLeft(k) - static_cast<float>(shift), svc_.SpriteTop(k));
}

void Game::Muovi(bool Destra) {
    if (!Controlla(Destra)) return;
    const float step = Destra ? state.Cella : -static_cast<float>(state.Cella);
    for (int k = 1; k <= 4; ++k)
        svc_.MoveSprite(k, svc_.SpriteLeft(k) + step, svc_.SpriteTop(k));
}

void Game::Ruota() {
    if (!PezzoNelCampo()) return;
    const float bordo = static_cast<float>(kBordoRotazione * state.Cella);
    for (int k = 1; k <= 4; ++k) {
        if (svc_.SpriteLeft(k) > bordo) {
            sposta();
            break;
        }
    }
    state.RotPezzo = static_cast<std::int16_t>(state.RotPezzo - 1);
    if (state.RotPezzo < 0) state.RotPezzo = 3;
    Posiziona(false);
    SollevaSopraIlFondo();
}

// A turn next to the floor can reach into row 32 or below; the piece is lifted
// straight up until its lowest block is in row 31, so that nothing ever stands
// in the floor or outside the well.
void Game::SollevaSopraIlFondo() {
    const Celle c = CelleDelPezzo();
    const int lowest = *std::max_element(c.row.begin(), c.row.end());
    const int excess = lowest - (Well::kFloorRow - 1);
    if (excess <= 0) return;
    const float lift = static_cast<float>(excess * state.Cella);
    for (int k = 1; k <= 4; ++k)
        svc_.MoveSprite(k, svc_.SpriteLeft(k), svc_.SpriteTop(k) - lift);
}

}  // namespace tumblara
