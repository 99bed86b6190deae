#include "fuzz/Referee.h"

#include <algorithm>
#include <cmath>

#include "engine/Shapes.h"

namespace tumblara::fuzz {
namespace {

constexpr std::string_view kStep = "Impact02.wav";
constexpr std::string_view kRow = "Bonus1.wav";
constexpr std::string_view kLevel = "Bonus2.wav";
constexpr float kParkX = 0.0f;
constexpr float kParkY = -20.0f;

std::string Cell(int column, int row) {
    return "(" + std::to_string(column) + "," + std::to_string(row) + ")";
}

// The interval the level table gives after `changes` level changes in a game.
std::int32_t IntervalAfter(int changes) {
    return std::max<std::int32_t>(50, 350 - 50 * changes);
}

}  // namespace

void Referee::Attach(const Game& game, const FuzzWindow& window) {
    game_ = &game;
    window_ = &window;
}

void Referee::Fail(const std::string& what) {
    if (onViolation) {
        onViolation(what);
    } else if (violation_.empty()) {
        violation_ = what;
    }
}

void Referee::NewGameClicked() {
    rows_ = 0;
    shownScore_ = 0;
    levels_ = 0;
}

int Referee::FullRows() const {
    const Well& campo = game_->state.Campo;
    if (campo == countedWell_) return countedFull_;
    int full = 0;
    for (int r = 1; r < Well::kFloorRow; ++r)
        if (campo.RowFull(r)) ++full;
    countedWell_ = campo;
    countedFull_ = full;
    return full;
}

Referee::TickSnapshot Referee::BeforeTick() const { return {FullRows(), gamesOver_, game_->state.Campo}; }

void Referee::AfterTick(const TickSnapshot& before) {
    if (window_->Quitting() || !game_->state.InGioco || gamesOver_ != before.gamesOver) return;
    // A landing that ended the game may have stored a few blocks and filled a
    // row without removing it; resuming that game keeps the row. Otherwise
    // every row a landing completes is gone when the tick is over.
    if (before.fullRows == 0 && FullRows() > 0) Fail("a completed row was left in the well after a gravity tick");
    // A landing changes the well; the next piece falls at the level's pace,
    // whether or not the last one came down fast.
    const std::int32_t interval = window_->Interval(TimerId::Timer1);
    if (game_->state.Campo != before.campo && interval != game_->state.Intervallo)
        Fail("the next piece falls every " + std::to_string(interval) + " ms at a level interval of " +
             std::to_string(game_->state.Intervallo));
}

Referee::Sprites Referee::BeforeKey() const {
    Sprites s{};
    for (int k = 1; k <= 4; ++k) {
        s.x[static_cast<std::size_t>(k - 1)] = window_->SpriteLeft(k);
        s.y[static_cast<std::size_t>(k - 1)] = window_->SpriteTop(k);
    }
    return s;
}

void Referee::AfterKey(const Sprites& before) {
    if (!PieceInWell()) return;
    const auto c = static_cast<float>(window_->Cella());
    const float dx = window_->SpriteLeft(1) - before.x[0];
    if (dx != c && dx != -c) return;
    for (int k = 1; k <= 4; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        if (window_->SpriteLeft(k) - before.x[i] != dx || window_->SpriteTop(k) != before.y[i]) return;
    }
    // The whole piece went one column sideways: every cell it took is free.
    for (int k = 1; k <= 4; ++k) {
        const int column = static_cast<int>(window_->SpriteLeft(k) / c);
        const int row = static_cast<int>(window_->SpriteTop(k) / c);
        if (!Well::Contains(column, row) || game_->state.Campo(column, row) != 0)
            Fail("a sideways move onto " + Cell(column, row));
    }
}

bool Referee::PieceInWell() const {
    const int c = window_->Cella();
    for (int k = 1; k <= 4; ++k) {
        const float x = window_->SpriteLeft(k);
        const float y = window_->SpriteTop(k);
        const float column = std::round(x / static_cast<float>(c));
        const float row = std::round(y / static_cast<float>(c));
        if (column * static_cast<float>(c) != x || row * static_cast<float>(c) != y) return false;
        if (column < 1 || column > Well::kColumns || row < 0 || row >= Well::kFloorRow) return false;
    }
    return true;
}

void Referee::Check() {
    if (!game_ || !violation_.empty()) return;
    CheckWell();
    CheckScoreAndLevel();
    CheckPieces();
    CheckSprites();
    CheckTimersAndLabels();
}

void Referee::CheckWell() {
    const GameState& s = game_->state;
    if (s.NessunaPartita) {
        if (s.Campo != Well{}) Fail("the well is not empty before the first game");
        return;
    }
    if (wellChecked_ && s.Campo == checkedWell_) return;
    wellChecked_ = true;
    checkedWell_ = s.Campo;
    for (int c = 1; c <= Well::kColumns; ++c) {
        if (s.Campo(c, Well::kFloorRow) == 0) Fail("floor cell " + Cell(c, Well::kFloorRow) + " is empty");
        for (int r = 1; r <= 3; ++r)
            if (s.Campo(c, r) != 0) Fail("entry row cell " + Cell(c, r) + " holds a settled block");
        for (int r = 4; r < Well::kFloorRow; ++r)
            if (s.Campo(c, r) > 7)
                Fail("cell " + Cell(c, r) + " holds " + std::to_string(s.Campo(c, r)) + ", not a picture");
    }
}

void Referee::CheckScoreAndLevel() {
    const GameState& s = game_->state;
    if (s.Punteggio != 16 * rows_)
        Fail("score " + std::to_string(s.Punteggio) + " after " + std::to_string(rows_) + " removed rows");
    if (s.NessunaPartita) {
        if (s.SogliaLivello != 0 || s.Intervallo != 0) Fail("level set before the first game");
        return;
    }
    if (s.SogliaLivello != 100 * levels_)
        Fail("threshold " + std::to_string(s.SogliaLivello) + " after " + std::to_string(levels_) + " level changes");
    if (s.Intervallo != IntervalAfter(levels_))
        Fail("interval " + std::to_string(s.Intervallo) + " after " + std::to_string(levels_) + " level changes");
    if (levels_ > 0 && s.Punteggio >= s.SogliaLivello)
        Fail("score " + std::to_string(s.Punteggio) + " reached the threshold without a level change");
}

void Referee::CheckPieces() {
    const GameState& s = game_->state;
    if (s.NessunaPartita) return;
    auto inRange = [](std::int32_t v, int lo, int hi) { return v >= lo && v <= hi; };
    if (!inRange(s.TipoPezzo, 1, 7) || !inRange(s.RotPezzo, 0, 3) || !inRange(s.ColorePezzo, 1, 7))
        Fail("falling piece type " + std::to_string(s.TipoPezzo) + " rotation " + std::to_string(s.RotPezzo) +
             " picture " + std::to_string(s.ColorePezzo));
    if (!inRange(s.TipoProssimo, 1, 7) || !inRange(s.RotProssimo, 0, 3) || !inRange(s.ColoreProssimo, 1, 7))
        Fail("next piece type " + std::to_string(s.TipoProssimo) + " rotation " + std::to_string(s.RotProssimo) +
             " picture " + std::to_string(s.ColoreProssimo));
    for (int k = 1; k <= 4; ++k)
        if (window_->Picture(k) != s.ColorePezzo)
            Fail("sprite " + std::to_string(k) + " shows picture " + std::to_string(window_->Picture(k)));
}

void Referee::CheckSprites() {
    const GameState& s = game_->state;
    const float c = static_cast<float>(window_->Cella());
    auto allAt = [&](float x, float y) {
        for (int k = 1; k <= 4; ++k)
            if (window_->SpriteLeft(k) != x || window_->SpriteTop(k) != y) return false;
        return true;
    };
    if (allAt(kParkX, kParkY)) return;
    if (s.NessunaPartita) {
        if (!allAt(0.0f, -2.0f * c)) Fail("the sprites moved before the first game");
        return;
    }
    if (!PieceInWell()) {
        std::string where;
        for (int k = 1; k <= 4; ++k)
            where += " (" + std::to_string(window_->SpriteLeft(k)) + "," + std::to_string(window_->SpriteTop(k)) + ")";
        Fail("the falling piece left the well or the cell grid:" + where);
        return;
    }
    // The four blocks keep the layout of the piece's shape around block 1.
    const ShapeOffsets& shape = Forma(s.TipoPezzo, s.RotPezzo);
    const float x1 = window_->SpriteLeft(1);
    const float y1 = window_->SpriteTop(1);
    for (int k = 2; k <= 4; ++k) {
        const Offset& o = shape[static_cast<std::size_t>(k - 1)];
        if (window_->SpriteLeft(k) - x1 != static_cast<float>(o.dc) * c ||
            window_->SpriteTop(k) - y1 != static_cast<float>(o.dr) * c)
            Fail("block " + std::to_string(k) + " is out of the shape of piece " + std::to_string(s.TipoPezzo) +
                 " rotation " + std::to_string(s.RotPezzo));
    }
}

void Referee::CheckTimersAndLabels() {
    const GameState& s = game_->state;
    const std::int32_t t1 = window_->Interval(TimerId::Timer1);
    if (s.NessunaPartita ? t1 != 300 : (t1 != s.Intervallo && t1 != 20))
        Fail("gravity interval " + std::to_string(t1) + " with level interval " + std::to_string(s.Intervallo));
    const std::int32_t t2 = window_->Interval(TimerId::Timer2);
    if (t2 != 0 && t2 != 100 && t2 != 500) Fail("blink interval " + std::to_string(t2));

    const std::string banner = window_->Caption(LabelId::Label3);
    if (banner.rfind("Level", 0) == 0) {
        const std::string expected = "Level " + NumeroConSegno(std::min(levels_ - 1, 6));
        if (banner != expected) Fail("banner \"" + banner + "\" after " + std::to_string(levels_) + " level changes");
    } else if (!banner.empty() && banner != "Game Over") {
        Fail("banner \"" + banner + "\"");
    }

    const std::string score = window_->Caption(LabelId::Label2);
    const std::string shown = s.NessunaPartita ? "Score : 0" : "Score : " + NumeroConSegno(shownScore_);
    if (score != shown) Fail("score label \"" + score + "\", expected \"" + shown + "\"");

    const std::string pause = window_->Caption(LabelId::Menu1);
    if (pause != "Pausa" && pause != "Continua") Fail("pause label \"" + pause + "\"");
    if (pause == "Continua" && s.InGioco && !window_->Quitting()) Fail("the game runs while the menu offers \"Continua\"");
}

void Referee::OnSound(std::string_view fileName) {
    const GameState& s = game_->state;
    if (fileName == kStep) {
        if (!s.InGioco) Fail("a step down while play is stopped");
        if (!PieceInWell()) {
            Fail("a step down with no piece in the well");
            return;
        }
        const int c = window_->Cella();
        for (int k = 1; k <= 4; ++k) {
            const int column = static_cast<int>(window_->SpriteLeft(k)) / c;
            const int below = static_cast<int>(window_->SpriteTop(k)) / c + 1;
            if (!Well::Contains(column, below) || s.Campo(column, below) != 0)
                Fail("a step down onto " + Cell(column, below));
        }
    } else if (fileName == kRow) {
        if (FullRows() == 0) Fail("the row sound with no full row in the well");
        ++rows_;
        shownScore_ = 16 * rows_;
    } else if (fileName == kLevel) {
        ++levels_;
    } else {
        Fail("unknown sound " + std::string(fileName));
    }
}

void Referee::OnCaption(LabelId label, std::string_view caption) {
    if (label == LabelId::Label3 && caption == "Game Over") {
        ++gamesOver_;
        rows_ = 0;  // the score restarts from 0 but the label keeps the final score
    }
}

void Referee::OnPaint(int picture, int left, int top, int size, bool retained) {
    const int c = window_->Cella();
    const std::string what = "picture " + std::to_string(picture) + " painted at " + std::to_string(left) + "," +
                             std::to_string(top) + " size " + std::to_string(size);
    if (picture < 1 || picture > 7 || size != c || !retained) {
        Fail(what);
        return;
    }
    if (left % c != 0 || top % c != 0) {
        Fail(what + ", off the cell grid");
        return;
    }
    const int column = left / c;
    const int row = top / c;
    const bool inWell = column >= 1 && column <= Well::kColumns && row >= 4 && row < Well::kFloorRow;
    const bool inPreview = column >= 20 && column <= 23 && row >= 17 && row <= 20;
    if (!inWell && !inPreview) Fail(what + ", outside the well and the preview");
}

void Referee::OnFill(int x1, int y1, int x2, int y2, bool /*retained*/) {
    const int c = window_->Cella();
    if (x1 == 18 * c && y1 == 15 * c && x2 == 24 * c && y2 == 21 * c) return;  // the preview box
    if (x1 == c && y1 == 1 && x2 == 17 * c && y2 == 32 * c) return;            // the whole well
    const bool cell = x1 % c == 0 && y1 % c == 0 && x2 == x1 + c - 1 && y2 == y1 + c - 1;
    const int column = x1 / c;
    const int row = y1 / c;
    if (cell && column >= 1 && column <= Well::kColumns && row >= 4 && row < Well::kFloorRow) return;
    Fail("black fill " + std::to_string(x1) + "," + std::to_string(y1) + " " + std::to_string(x2) + "," +
         std::to_string(y2) + " is neither a well cell, the well nor the preview");
}

void Referee::OnCallAfterQuit(std::string_view what) {
    Fail(std::string(what) + " after the program ended");
}

void Referee::OnMisuse(std::string_view what) { Fail(std::string(what)); }

}  // namespace tumblara::fuzz
