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

// The whole well from its bottom rows, row 31 last, and optionally its top rows from row 1.
inline std::string Bottom(const std::vector<std::string>& rows, const std::vector<std::string>& top = {}) {
    std::string text;
    for (std::size_t r = 0; r < 31; ++r)
        text += (r < top.size() ? top[r] : r + rows.size() < 31 ? "................" : rows[r + rows.size() - 31]) + "\n";
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
    // A new game from the outer loop, stopped right after its two-second banner.
    void StartGame() { fake.After(Ms{0}, [this] { game.NuovaPartita(); }); fake.RunFor(Ms{2001}); }
    // The falling piece of shape tipo in state rot, block 1 at (x, y).
    void PutPiece(std::int16_t tipo, std::int16_t rot, int x, int y) {
        game.state.TipoPezzo = tipo, game.state.RotPezzo = rot;
        for (int k = 1; k <= 4; ++k) {
            const Offset o = Forma(tipo, rot)[static_cast<std::size_t>(k - 1)];
            fake.MoveSprite(k, static_cast<float>((x + o.dc) * cella), static_cast<float>((y + o.dr) * cella));
        }
    }
    Cells PieceCells() const {
        Cells cells;
        for (int k = 1; k <= 4; ++k) cells.emplace_back(std::lround(fake.SpriteLeft(k) / cella), std::lround(fake.SpriteTop(k) / cella));
        return cells;
    }
    // Sets the well's bottom rows, and draws the whole well in the retained background as play would have.
    void SetWell(const std::vector<std::string>& rows) {
        const std::string text = Bottom(rows);
        fake.SetRetainedBackground(true);
        for (int r = 1; r <= 31; ++r)
            for (int c = 1; c <= 16; ++c) {
                const int v = std::max(0, text[static_cast<std::size_t>((r - 1) * 17 + c - 1)] - '0');  // '.' is below '0'
                game.state.Campo(c, r) = static_cast<std::uint8_t>(v);
                fake.PaintPicture(v, c * cella, r * cella, cella);  // picture 0: black
            }
        fake.SetRetainedBackground(false);
        fake.ClearLog();
    }
    // Rows 1..31 of Campo, with the falling piece while it is in the well.
    std::string Well(bool piece = true) const {
        std::string text = Bottom({});
        for (int r = 1; r <= 31; ++r)
            for (int c = 1; c <= 16; ++c) text[static_cast<std::size_t>((r - 1) * 17 + c - 1)] = ".1234567"[game.state.Campo(c, r)];
        for (const auto& [c, r] : piece ? PieceCells() : Cells{})
            if (c >= 1 && c <= 16 && r >= 1 && r <= 31) text[static_cast<std::size_t>((r - 1) * 17 + c - 1)] = '@';
        return text;
    }
    // The well as the window shows it after the window system repaints it.
    std::string Shown() { fake.Repaint(); return fake.CellText(1, 1, 16, 31, false, '\n'); }
    std::string Preview(bool retained = false) const { return fake.CellText(18, 15, 6, 6, retained); }  // the box, '/' after each row
};

}  // namespace tumblara::testing
