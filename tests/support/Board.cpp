#include "tests/support/Board.h"

#include "engine/Shapes.h"

#include <algorithm>
#include <stdexcept>

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
        std::string text;
        for (int c = 1; c <= 16; ++c) {
            const int v = campo(c, r);
            text += v == 0 ? '.' : static_cast<char>('0' + v);
        }
        rows.push_back(text);
    }
    return rows;
}

std::vector<std::string> BottomRows(const Well& campo, int count) {
    return WellRows(campo, Well::kFloorRow - count);
}

std::vector<std::string> TextRows(std::string_view text) {
    std::vector<std::string> rows;
    for (std::size_t from = 0; from < text.size();) {
        const std::size_t slash = std::min(text.find('/', from), text.size());
        rows.emplace_back(text.substr(from, slash - from));
        from = slash + 1;
    }
    return rows;
}

Cells DrawnCells(std::string_view picture, int column, int top) {
    Cells cells(4);
    int c = 0;
    int r = top;
    for (const char ch : picture) {
        if (ch == '/') {
            c = 0;
            ++r;
            continue;
        }
        if (ch >= '1' && ch <= '4') cells[static_cast<std::size_t>(ch - '1')] = {c, r};
        ++c;
    }
    const int dx = column - cells[0].first;
    for (auto& cell : cells) cell.first += dx;
    return cells;
}

float RndForColumn(int x) { return (static_cast<float>(x) - 0.5f) / 13.0f; }

GameOnFakeWindow::GameOnFakeWindow() {
    game.state.Cella = kCella;
    fake.onTimer1 = [this] { game.Timer1_Timer(); };
    fake.onTimer2 = [this] { game.Timer2_Timer(); };
}

void GameOnFakeWindow::StartGame() {
    fake.After(FakeWindow::Ms{0}, [this] { game.NuovaPartita(); });
    // The banner lasts 1.5 to 2.5 s; stop right after it, before a gravity tick.
    fake.SetTimeOfDay(1000.0f);
    fake.RunFor(FakeWindow::Ms{2001});
    if (!game.state.InGioco) throw std::logic_error("the level banner did not end");
}

void GameOnFakeWindow::PutPiece(std::int16_t tipo, std::int16_t rot, int x, int y) {
    game.state.TipoPezzo = tipo;
    game.state.RotPezzo = rot;
    const ShapeOffsets& f = Forma(tipo, rot);
    for (int k = 1; k <= 4; ++k) {
        const Offset& o = f[static_cast<std::size_t>(k - 1)];
        fake.MoveSprite(k, static_cast<float>((x + o.dc) * kCella), static_cast<float>((y + o.dr) * kCella));
    }
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

void GameOnFakeWindow::SinkToFloor() {
    int lowest = 0;
    for (const auto& cell : PieceCells()) lowest = std::max(lowest, cell.second);
    const float drop = static_cast<float>((Well::kFloorRow - 1 - lowest) * kCella);
    for (int k = 1; k <= 4; ++k) fake.MoveSprite(k, fake.SpriteLeft(k), fake.SpriteTop(k) + drop);
}

std::string GameOnFakeWindow::PreviewBox(bool retained) const {
    std::string box;
    for (int r = 15; r <= 20; ++r) {
        if (r > 15) box += '/';
        for (int c = 18; c <= 23; ++c) {
            const int x = c * kCella + kCella / 2;
            const int y = r * kCella + kCella / 2;
            const int v = retained ? fake.RetainedAt(x, y) : fake.ShownAt(x, y);
            box += v == 0 ? '.' : static_cast<char>('0' + v);
        }
    }
    return box;
}

}  // namespace tumblara::testing
