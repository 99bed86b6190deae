#include "input/Keyboard.h"

#include "engine/Game.h"

namespace tumblara {

void Form_KeyDown(Game& game, std::int16_t KeyCode, std::int16_t /*Shift*/) {
    GameState& s = game.state;
    if (!s.InGioco) return;
    if (s.TastoPremuto) return;
    // Latched before the key is known: with repetition off every held key,
    // bound or not, blocks the others until a release.
    if (!s.Ripetizione) s.TastoPremuto = true;

    const std::int32_t code = KeyCode;
    // First match wins, so two actions on one key leave only the first.
    if (code == s.TastoDestra) {
        game.Muovi(true);
    } else if (code == s.TastoSinistra) {
        game.Muovi(false);
    } else if (code == s.TastoCaduta) {
        if (s.CadutaPremuta) return;
        s.CadutaPremuta = true;
        game.CadutaRapida();
    } else if (code == s.TastoRotazione) {
        if (s.CadutaPremuta) return;
        s.CadutaPremuta = true;
        game.Ruota();
    } else {
        s.TastoPremuto = false;
        s.CadutaPremuta = false;
    }
}

void Form_KeyUp(Game& game, std::int16_t /*KeyCode*/, std::int16_t /*Shift*/) {
    game.state.TastoPremuto = false;
    game.state.CadutaPremuta = false;
}

void Form_Deactivate(Game& game) { Form_KeyUp(game, 0, 0); }

bool Repetition(GameState& state, std::int16_t Repeat) {
    switch (Repeat) {
        case 0: return state.Ripetizione;
        case 1: state.Ripetizione = true; return false;
        case 2: state.Ripetizione = false; return false;
        default: return false;
    }
}

bool TastoLegato(const GameState& s, std::int32_t KeyCode) {
    return KeyCode == s.TastoDestra || KeyCode == s.TastoSinistra || KeyCode == s.TastoCaduta ||
           KeyCode == s.TastoRotazione;
}

void SetKey(GameState& state, std::int32_t KeyId, std::int32_t KeyVal) {
    switch (static_cast<Azione>(KeyId)) {
        case Azione::Destra: state.TastoDestra = KeyVal; break;
        case Azione::Sinistra: state.TastoSinistra = KeyVal; break;
        case Azione::Caduta: state.TastoCaduta = KeyVal; break;
        case Azione::Rotazione: state.TastoRotazione = KeyVal; break;
        default: break;
    }
}

}  // namespace tumblara
