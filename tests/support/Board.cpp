#include "tests/support/Board.h"

#include <cmath>
#include <stdexcept>

#include "engine/Shapes.h"

namespace tumblara::testing {

void SetBottomRows(Well& campo, const std::vector<std::string>& rows) {
    int row = Well::kFloorRow - static_cast<int>(rows.size());
    for (const std::string& text : rows) {
        if (text.size() != 16) throw std::invalid_argument("a row has 16 cells: " + text);
        for (int c = 1; c <= 16; ++c) {
            const char ch = text[static_cast<std::size_t>(c - 1)];
            campo(c, row) = ch == '.' ? 0 : ch == '#' ? 1 : static_cast<std::uint8_t>(ch - '0');
        }
        ++row;
    }
}

std::vector<std::string> WellRows(const Well& campo, int from) {
    std::vector<std::string> rows;
    for (int r = from; r < Well::kFloorRow; ++r) {
        rows.emplace_back();
        for (int c = 1; c <= 16; ++c) rows.back() += campo(c, r) == 0 ? '.' : static_cast<char>('0' + campo(c, r));
    }
    return rows;
}

std::vector<std::string> TextRows(std::string_view text) {
    std::vector<std::string> rows;
    if (!text.empty()) rows.emplace_back();
    for (const char ch : text) {
        if (ch == '/') rows.emplace_back();
        else rows.back() += ch;
    }
    return rows;
}

Cells DrawnCells(std::string_view picture, int column, int top) {
    Cells cells(4);
    int c = 0;
    int r = top;
    for (const char ch : picture) {
        if (ch == '/') c = -1, ++r;
        if (ch >= '1' && ch <= '4') cells[static_cast<std::size_t>(ch - '1')] = {c, r};
        ++c;
    }
    const int dx = column - cells[0].first;
    for (auto& cell : cells) cell.first += dx;
    return cells;
}

void PutPiece(Game& game, WindowServices& window, std::int16_t tipo, std::int16_t rot, int x, int y) {
    game.state.TipoPezzo = tipo;
    game.state.RotPezzo = rot;
    const int cella = game.state.Cella;
    for (int k = 1; k <= 4; ++k) {
        const Offset& o = Forma(tipo, rot)[static_cast<std::size_t>(k - 1)];
        window.MoveSprite(k, static_cast<float>((x + o.dc) * cella), static_cast<float>((y + o.dr) * cella));
    }
}

GameOnFakeWindow::GameOnFakeWindow() {
    game.state.Cella = kCella;
    fake.onTimer1 = [this] { game.Timer1_Timer(); };
    fake.onTimer2 = [this] { game.Timer2_Timer(); };
}

void GameOnFakeWindow::StartGame() {
    fake.After(Ms{0}, [this] { game.NuovaPartita(); });
    // The banner lasts 1.5 to 2.5 s; stop right after it, before a gravity tick.
    fake.SetTimeOfDay(1000.0f);
    fake.RunFor(Ms{2001});
    if (!game.state.InGioco) throw std::logic_error("the level banner did not end");
}

Cells GameOnFakeWindow::PieceCells() const {
    Cells cells;
    for (int k = 1; k <= 4; ++k)
        cells.emplace_back(std::lround(fake.SpriteLeft(k) / kCella), std::lround(fake.SpriteTop(k) / kCella));
    return cells;
}

void GameOnFakeWindow::ShowCampo() {
    const std::vector<std::string> saved = fake.log;
    fake.SetRetainedBackground(true);
    for (int r = 1; r < Well::kFloorRow; ++r) {
        for (int c = 1; c <= Well::kColumns; ++c) {
            const int v = game.state.Campo(c, r);
            if (v == 0)
                fake.FillBlack(c * kCella, r * kCella, (c + 1) * kCella - 1, (r + 1) * kCella - 1);
            else
                fake.PaintPicture(v, c * kCella, r * kCella, kCella);
        }
    }
    fake.SetRetainedBackground(false);
    fake.log = saved;
}

std::string GameOnFakeWindow::PreviewBox(bool retained) const {
    std::string box;
    for (const std::string& row : fake.CellText(18, 15, 6, 6, retained)) box += (box.empty() ? "" : "/") + row;
    return box;
}

}  // namespace tumblara::testing
