#pragma once
// The game: the state record and the main window's procedures that act on it.
// The window layer feeds it ticks and menu clicks; the keyboard layer steers
// the piece through Muovi and Ruota.

#include <array>
#include <cstdint>
#include <string>

#include "engine/GameState.h"
#include "engine/Regole.h"
#include "engine/WindowServices.h"

namespace tumblara {

// Wave files played by the game, found in the program's folder.
inline constexpr std::string_view kSuonoPasso = "Impact02.wav";    // a step down
inline constexpr std::string_view kSuonoRiga = "Bonus1.wav";       // a removed row
inline constexpr std::string_view kSuonoLivello = "Bonus2.wav";    // a new level

// The text of a number in a label: a leading blank where a sign would stand.
std::string NumeroConSegno(std::int32_t value);

class Game {
public:
    explicit Game(WindowServices& services);  // Form_Initialize: the defaults
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    GameState state;

    // --- Placement and movement of the falling piece
    // Lays the piece out: a new one at the top in a random column (inizio), or turned around block 1.
    void Posiziona(bool inizio);
    // True when every block may move one column right (Destra) or left, inside the well onto empty cells.
    bool Controlla(bool Destra) const;
    // Pushes the piece left until its rightmost block stands in column kColonnaDopoSpinta.
    void sposta();
    // Moves the piece one column sideways when Controlla allows it.
    void Muovi(bool Destra);
    // Turns the piece a quarter turn clockwise, pushed off the right wall first; never refused.
    void Ruota();
    // Gravity at the fast-drop pace until the piece lands.
    void CadutaRapida();

    // --- Gravity and landing
    // While play runs: a step down, or a landing, its settling and the hand-over to the next piece.
    void Timer1_Timer();
    // True when the piece moved down a row or its landing ended the game; false when it settled in Campo.
    bool Aggiorna();
    // Returns once play runs again or the program ends, handling events meanwhile.
    void Gioco();

    // --- Settling and full rows
    // Paints the landed piece into the well, parks the sprites, removes full rows, starts a level when due.
    void disegna();
    // The number of a full row among the rows of the landed blocks' y positions, block 4 first; 0 if none.
    std::int16_t Verifica(std::array<std::int32_t, 4> Y) const;
    // Removes the full row Riga, moves the rows above it down a row and scores it.
    void AggiornaPunteggio(std::int32_t Riga);

    // --- Progression
    // The next level: faster gravity and a blinking banner, then, unless a new game or the end cuts in, an empty well.
    void AggiornaLivello();
    // Draws the next piece; returns its shape, sets its state and picture and hands the old picture on.
    std::int16_t ScegliPezzo();
    // Repaints the preview box with the next piece as it will enter the well.
    void ProssimoPezzo();
    // Stops play and blinks "Game Over"; returns once a new game starts or the program ends.
    void GameOver();
    // Shows or hides the label over the well.
    void Timer2_Timer();

    // --- The menu and the life of the window
    // "Nuova Partita": a fresh game from level 0, returning once its level banner is over.
    void NuovaPartita();
    // "Pausa" holds play until "Continua"; nothing before the first game.
    void PausaContinua();
    // "Esci": every wait ends and the program ends.
    void Esci();
    // Enters the game-over state while no game has been started.
    void Form_Activate();
    // The window is closing: every wait ends.
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
    // Counts the games started: a level banner whose game is no longer the
    // current one was ended by a new game, not by "Continua".
    std::uint32_t partite_ = 0;
};

}  // namespace tumblara
