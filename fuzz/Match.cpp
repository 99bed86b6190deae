#include "fuzz/Match.h"

#include "fuzz/RefereedGame.h"
#include "fuzz/Script.h"
#include "input/Keyboard.h"

namespace tumblara::fuzz {
namespace {

using Ms = FuzzWindow::Ms;

struct Table : RefereedGame {
    using RefereedGame::RefereedGame;

    std::int32_t BoundKey(std::uint8_t which) const {
        const GameState& s = game.state;
        switch (which % 4) {
            case 0: return s.TastoDestra;
            case 1: return s.TastoSinistra;
            case 2: return s.TastoCaduta;
            default: return s.TastoRotazione;
        }
    }

    // Settles blocks of one picture over a row, never completing it and never
    // under the falling piece: a short way to the crowded wells that many
    // pieces would build, so that rows, levels and game overs come quickly.
    // Like a landed piece, the new blocks rest on something: the row below
    // must be the floor or hold a block. Row removal relies on that.
    void PileUp(std::uint8_t a, std::uint8_t b) {
        if (game.state.NessunaPartita) return;
        Well& campo = game.state.Campo;
        const int row = 4 + a % 28;
        if (row + 1 < Well::kFloorRow) {
            bool supported = false;
            for (int column = 1; column <= Well::kColumns; ++column)
                supported = supported || campo(column, row + 1) != 0;
            if (!supported) return;
        }
        // The first empty cell from column 1 + b % 16 on stays open.
        int hole = 0;
        for (int i = 0; i < Well::kColumns && hole == 0; ++i) {
            const int column = 1 + (b + i) % Well::kColumns;
            if (campo(column, row) == 0) hole = column;
        }
        if (hole == 0) return;
        const auto picture = static_cast<std::uint8_t>(1 + b % 7);
        const int c = window.Cella();
        for (int column = 1; column <= Well::kColumns; ++column) {
            if (column == hole || campo(column, row) != 0) continue;
            bool underPiece = false;
            for (int k = 1; k <= 4; ++k)
                if (window.SpriteLeft(k) == static_cast<float>(column * c) &&
                    window.SpriteTop(k) == static_cast<float>(row * c))
                    underPiece = true;
            if (!underPiece) campo(column, row) = picture;
        }
    }

    void Handle(const Step& s) {
        const auto code = static_cast<std::int16_t>(s.a | s.b << 8);
        switch (s.op) {
            case Op::KeyDown: {
                const auto before = referee.BeforeKey();
                Form_KeyDown(game, static_cast<std::int16_t>(BoundKey(s.a)), static_cast<std::int16_t>(s.b));
                referee.AfterKey(before);
                break;
            }
            case Op::KeyUp: Form_KeyUp(game, static_cast<std::int16_t>(BoundKey(s.a)), 0); break;
            case Op::KeyDownCode: {
                const auto before = referee.BeforeKey();
                Form_KeyDown(game, code, 0);
                referee.AfterKey(before);
                break;
            }
            case Op::KeyUpCode: Form_KeyUp(game, code, 0); break;
            case Op::NewGame: NewGame(); break;
            case Op::Pause: game.PausaContinua(); break;
            case Op::Exit:
                if (s.a == 'X') game.Esci();
                break;
            case Op::Repetition: Repetition(game.state, code); break;
            case Op::SetKey: SetKey(game.state, s.a % 6, s.b); break;
            case Op::Tick: {
                const auto before = referee.BeforeTick();
                game.Timer1_Timer();
                referee.AfterTick(before);
                break;
            }
            case Op::Blink: game.Timer2_Timer(); break;
            case Op::Activate: game.Form_Activate(); break;
            case Op::Random: window.PushRnd(static_cast<float>(static_cast<std::uint16_t>(code)) / 65536.0f); break;
            case Op::PileUp: PileUp(s.a, s.b); break;
            case Op::Deactivate: Form_Deactivate(game); break;
            case Op::Idle:
            case Op::Info:
            case Op::Count: break;
        }
    }
};

std::string Describe(const Table& t, const Step& s) {
    static constexpr const char* kNames[] = {"KeyDown", "KeyUp", "KeyDownCode", "KeyUpCode", "NewGame", "Pause",
                                             "Exit", "Repetition", "SetKey", "Tick", "Blink", "Activate",
                                             "Random", "PileUp", "Idle", "Info", "Deactivate"};
    const GameState& g = t.game.state;
    std::string line = std::to_string(t.window.Now().count()) + " ms " + kNames[static_cast<int>(s.op)] + " " +
                       std::to_string(s.a) + " " + std::to_string(s.b) + "  [InGioco " + std::to_string(g.InGioco) +
                       " score " + std::to_string(g.Punteggio) + " piece";
    for (int k = 1; k <= 4; ++k)
        line += " " + std::to_string(static_cast<int>(t.window.SpriteLeft(k)) / t.window.Cella()) + "," +
                std::to_string(static_cast<int>(t.window.SpriteTop(k)) / t.window.Cella());
    line += "]\n";
    for (int r = 1; r < Well::kFloorRow; ++r) {
        std::string row;
        bool any = false;
        for (int c = 1; c <= Well::kColumns; ++c) {
            const int v = g.Campo(c, r);
            any = any || v != 0;
            row += v == 0 ? '.' : static_cast<char>('0' + v);
        }
        if (any) line += "    " + std::to_string(r) + "\t" + row + "\n";
    }
    return line;
}

}  // namespace

MatchReport PlayMatch(std::span<const std::uint8_t> data, const std::function<void(const std::string&)>& onViolation,
                      const std::function<void(const std::string&)>& trace) {
    const Decoded script = Decode(data);
    Table table(script.header.cella, TimeOfDayOf(script.header.timeOfDay));
    table.referee.onViolation = onViolation;

    // The program starts as the real one does: its first activation enters
    // the game-over state, and every later event is handled inside that wait.
    table.window.At(Ms{0}, [&table] {
        table.game.Form_Activate();
        table.referee.Check();
    });
    long long at = 0;
    for (const Step& step : script.steps) {
        at += DelayMs(step.delay);
        if (at > kMaxVirtualMs) break;
        table.window.At(Ms{at}, [&table, &trace, step] {
            if (trace) trace(Describe(table, step));
            table.Handle(step);
            table.referee.Check();
        });
    }
    table.window.Run(Ms{at + kSettleMs});
    table.referee.Check();

    MatchReport report;
    report.violation = table.referee.Violation();
    report.events = table.window.Dispatched();
    report.virtualMs = table.window.Now().count();
    report.ended = table.window.Quitting();
    report.rowsRemoved = table.referee.RowsRemoved();
    report.levelChanges = table.referee.LevelChanges();
    report.gamesOver = table.referee.GamesOver();
    return report;
}

}  // namespace tumblara::fuzz
