#pragma once
// The game: the state record and the main window's procedures that act on it.
// The window layer feeds it ticks and menu clicks; the keyboard layer steers
// the piece through Muovi and Ruota.

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "engine/GameState.h"
#include "engine/WindowServices.h"

namespace tumblara {

// Wave files played by the game, found in the program's folder.
inline constexpr std::string_view kSuonoPasso = "Impact02.wav";    // a step down
inline constexpr std::string_view kSuonoRiga = "Bonus1.wav";       // a removed row
inline constexpr std::string_view kSuonoLivello = "Bonus2.wav";    // a new level

// Sprites are parked here after a landing, outside the well and wholly above
// the window: 20 pixels up, or a whole cell when cells are larger, so that no
// row of a Cella-sized sprite shows in the window's top-left corner.
inline constexpr float kParcheggioX = 0.0f;
constexpr float ParcheggioY(int cella) { return -static_cast<float>(std::max(20, cella)); }

// The text of a number in a label: a leading blank where a sign would stand.
std::string NumeroConSegno(std::int32_t value);

class Game {
public:
    explicit Game(WindowServices& services);  // Form_Initialize: the defaults
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    GameState state;

    // Placement and movement of the falling piece.
    void Posiziona(bool inizio);
    bool Controlla(bool Destra) const;
    void sposta();
    void Muovi(bool Destra);  // one column sideways when Controlla allows it
    void Ruota();             // a quarter turn clockwise, never refused
    void CadutaRapida();      // gravity at 20 ms until the piece lands

    // Gravity and landing.
    void Timer1_Timer();
    bool Aggiorna();
    void Gioco();

    // Settling and full rows.
    void disegna();
    std::int16_t Verifica(std::array<std::int32_t, 4> Y) const;
    void AggiornaPunteggio(std::int32_t Riga);

    // Progression.
    void AggiornaLivello();
    std::int16_t ScegliPezzo();
    void ProssimoPezzo();
    void GameOver();
    void Timer2_Timer();

    // The menu and the life of the window.
    void NuovaPartita();      // "Nuova Partita"
    void PausaContinua();     // "Pausa" / "Continua"
    void Esci();              // "Esci": the program ends
    void Form_Activate();     // enters the game-over state before the first game
    void Form_Unload();

    // Set once the program is ending: waits return and no procedure resumes its work.
    bool Terminato() const { return terminato_; }

private:
    struct Celle {
        std::array<int, 4> column;
        std::array<int, 4> row;
    };
    Celle CelleDelPezzo() const;
    bool PezzoNelCampo() const;
    void SollevaSopraIlFondo();

    WindowServices& svc_;
    bool terminato_ = false;
};

}  // namespace tumblara
