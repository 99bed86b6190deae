#pragma once
// Wells written as text, one 16-character string per row, top to bottom:
// '.' is empty, '1'..'7' a settled block of that picture, '#' picture 1.

#include <string>
#include <string_view>
#include <vector>

#include "engine/Game.h"
#include "tests/support/FakeWindow.h"

namespace tumblara::testing {

// Cells as (column, row) pairs.
using Cells = std::vector<std::pair<int, int>>;
using Ms = FakeWindow::Ms;

// Writes `rows` so that the last one lands in row 31, just above the floor.
void SetBottomRows(Well& campo, const std::vector<std::string>& rows);
// Rows `from`..31 of Campo as text.
std::vector<std::string> WellRows(const Well& campo, int from = 1);
// The last `count` rows above the floor.
inline std::vector<std::string> BottomRows(const Well& campo, int count) {
    return WellRows(campo, Well::kFloorRow - count);
}
// Rows written on one line, separated by '/'.
std::vector<std::string> TextRows(std::string_view text);
// The cells of a piece drawn as text, rows top to bottom separated by '/': digit k
// is block k, '.' an empty cell. Block 1 stands in `column`, the top row is `top`.
Cells DrawnCells(std::string_view picture, int column, int top = 1);
// Puts a new falling piece of shape tipo/rot with block 1 at column x, row y.
void PutPiece(Game& game, WindowServices& window, std::int16_t tipo, std::int16_t rot, int x, int y);
// A value for Rnd that makes a new piece's reference block land in column x (1..13).
inline float RndForColumn(int x) { return (static_cast<float>(x) - 0.5f) / 13.0f; }

// A game on a fake window with 10-pixel cells, its ticks wired to the fake.
struct GameOnFakeWindow {
    static constexpr int kCella = 10;
    FakeWindow fake{kCella};
    Game game{fake};

    GameOnFakeWindow();
    // Starts a new game from the outer loop and lets its level-0 banner run out.
    void StartGame();
    void PutPiece(std::int16_t tipo, std::int16_t rot, int x, int y) { testing::PutPiece(game, fake, tipo, rot, x, y); }
    // The cells the sprites stand on, for k = 1..4.
    Cells PieceCells() const;
    // Paints rows 1..31 of Campo into the retained background, as the game
    // would have while they settled. Leaves the log as it was.
    void ShowCampo();
    // The preview box, cell columns 18..23 and rows 15..20, as six rows of text
    // separated by '/'. `retained` reads the retained background instead of the window.
    std::string PreviewBox(bool retained = false) const;
};

}  // namespace tumblara::testing
