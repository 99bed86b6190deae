#pragma once
// A game on the shared fake window, and its well written as text: one
// 16-character row per line, '.' empty, digits settled pictures, '@' the
// falling piece.

#include "engine/Game.h"
#include "engine/Shapes.h"
#include "tests/support/FakeWindow.h"

namespace tumblara::testing {

using Ms = FakeWindow::Ms;
using Cells = std::vector<std::pair<int, int>>;  // (column, row)

inline constexpr int kColumns = Well::kColumns;
inline constexpr int kLastRow = Well::kFloorRow - 1;  // the lowest row a piece reaches
inline const std::string kEmptyRow(kColumns, '.');

// The whole well from its bottom rows, row 31 last, and optionally its top rows from row 1.
inline std::string Bottom(const std::vector<std::string>& rows, const std::vector<std::string>& top = {}) {
    std::vector<std::string> well(kLastRow, kEmptyRow);
    std::ranges::copy(top, well.begin());
    std::ranges::copy(rows, well.end() - static_cast<std::ptrdiff_t>(rows.size()));
    std::string text;
    for (const std::string& row : well) text += row + '\n';
    return text;
}

struct GameOnFakeWindow {
    FakeWindow fake;
    Game game{fake};
    const std::uint8_t& cella = game.state.Cella;

    explicit GameOnFakeWindow(double timeOfDay = 12 * 3600.0, int cellSize = 10) : fake(cellSize, timeOfDay) {
        game.state.Cella = static_cast<std::uint8_t>(cellSize);
        fake.onTimer1 = [this] { game.Timer1_Timer(); };
        fake.onTimer2 = [this] { game.Timer2_Timer(); };
    }
    // A new game from the outer loop, run until its banner is over at any time of day.
    void StartGame() {
        fake.After(Ms{0}, [this] { game.NuovaPartita(); });
        fake.RunFor(Ms{2501});
    }
    // The falling piece of shape tipo in state rot, block 1 at (x, y).
    void PutPiece(std::int16_t tipo, std::int16_t rot, int x, int y) {
        game.state.TipoPezzo = tipo;
        game.state.RotPezzo = rot;
        for (int k = 1; k <= 4; ++k) {
            const Offset o = Forma(tipo, rot)[static_cast<std::size_t>(k - 1)];
            fake.MoveSprite(k, static_cast<float>((x + o.dc) * cella), static_cast<float>((y + o.dr) * cella));
        }
    }
    Cells PieceCells() const {
        Cells cells;
        for (int k = 1; k <= 4; ++k)
            cells.emplace_back(std::lround(fake.SpriteLeft(k) / cella), std::lround(fake.SpriteTop(k) / cella));
        return cells;
    }
    // Sets the well's bottom rows, and draws the whole well in the retained background as play would have.
    void SetWell(const std::vector<std::string>& rows) {
        const std::string text = Bottom(rows);
        fake.SetRetainedBackground(true);
        for (int r = 1; r <= kLastRow; ++r)
            for (int c = 1; c <= kColumns; ++c) {
                const int v = std::max(0, text[At(c, r)] - '0');  // '.' is below '0'
                game.state.Campo(c, r) = static_cast<std::uint8_t>(v);
                fake.PaintPicture(v, c * cella, r * cella, cella);  // picture 0: black
            }
        fake.SetRetainedBackground(false);
        fake.log.clear();
    }
    // Rows 1..31 of Campo, with the falling piece while it is in the well.
    std::string Well(bool piece = true) const {
        std::string text = Bottom({});
        for (int r = 1; r <= kLastRow; ++r)
            for (int c = 1; c <= kColumns; ++c) text[At(c, r)] = ".1234567"[game.state.Campo(c, r)];
        for (const auto& [c, r] : piece ? PieceCells() : Cells{})
            if (c >= 1 && c <= kColumns && r >= 1 && r <= kLastRow) text[At(c, r)] = '@';
        return text;
    }
    // The well as the window shows it now, and after the window system repaints it.
    std::string OnWindow() const { return fake.CellText(1, 1, kColumns, kLastRow, false, '\n'); }
    std::string Shown() {
        fake.Repaint();
        return OnWindow();
    }
    // The preview box, '/' after each row.
    std::string Preview(bool retained = false) const {
        const Riquadro box = Anteprima(1);  // in cells
        return fake.CellText(box.x1, box.y1, box.x2 - box.x1, box.y2 - box.y1, retained);
    }
    static std::size_t At(int c, int r) { return static_cast<std::size_t>((r - 1) * (kColumns + 1) + c - 1); }
};

}  // namespace tumblara::testing
