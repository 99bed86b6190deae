#pragma once
// The referee watches a game through its window and after every event checks
// the rules no sequence of events may break: the floor stays, the entry rows
// stay empty, cells hold only known values, the score is 16 per removed row,
// the level and its interval follow the level table, the falling piece keeps
// its shape inside the well, drawing stays inside the well and the preview,
// and nothing at all happens once the program has ended.

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "engine/Game.h"
#include "fuzz/FuzzWindow.h"

namespace tumblara::fuzz {

class Referee : public WindowWatcher {
public:
    // Called with a description of each broken rule; by default the first
    // one is kept and can be read with Violation().
    std::function<void(const std::string&)> onViolation;

    // The game and its window are attached once both exist.
    void Attach(const Game& game, const FuzzWindow& window);

    // The driver tells the referee about the menu's new game before it runs:
    // from there the score and the levels count afresh.
    void NewGameClicked();
    // Gravity ticks are bracketed so that a completed row left in the well
    // after a landing can be told apart from one that was already there.
    // Ticks nest inside the waits, so each bracket keeps its own snapshot.
    struct TickSnapshot {
        int fullRows;
        int gamesOver;
        Well campo;
    };
    TickSnapshot BeforeTick() const;
    void AfterTick(const TickSnapshot& before);
    // Key-downs are bracketed too: a sideways shift must land on free cells.
    struct Sprites {
        std::array<float, 4> x;
        std::array<float, 4> y;
    };
    Sprites BeforeKey() const;
    void AfterKey(const Sprites& before);
    // The state checks; run after every event.
    void Check();

    const std::string& Violation() const { return violation_; }
    int RowsRemoved() const { return rows_; }
    int LevelChanges() const { return levels_; }
    int GamesOver() const { return gamesOver_; }

    // --- WindowWatcher
    void OnSound(std::string_view fileName) override;
    void OnCaption(LabelId label, std::string_view caption) override;
    void OnPaint(int picture, int left, int top, int size, bool retained) override;
    void OnFill(int x1, int y1, int x2, int y2, bool retained) override;
    void OnCallAfterQuit(std::string_view what) override;
    void OnMisuse(std::string_view what) override;

private:
    void Fail(const std::string& what);
    int FullRows() const;
    void CheckWell();
    void CheckScoreAndLevel();
    void CheckPieces();
    void CheckSprites();
    void CheckTimersAndLabels();
    bool PieceInWell() const;

    const Game* game_ = nullptr;
    const FuzzWindow* window_ = nullptr;
    std::string violation_;
    int rows_ = 0;           // rows removed since the score was last reset
    int shownScore_ = 0;     // the score label: a game over keeps the final score
    int levels_ = 0;         // level changes since the last new game
    int gamesOver_ = 0;
    // Most events leave the well alone: its checks and its count of full
    // rows are redone only when it changed.
    Well checkedWell_;
    bool wellChecked_ = false;
    mutable Well countedWell_;
    mutable int countedFull_ = 0;
};

}  // namespace tumblara::fuzz
