// The game driven by arbitrary events, with the rules' invariants checked
// after every one. Input: cell size, time of day (2 bytes), then 4-byte
// steps: operation, delay (below 160 in ms, above in tenths of a second),
// two arguments. Every step is an event the running program can receive.
// The saved inputs also reach a level banner with large cells and end the
// program with "Esci" from inside each kind of wait.

#include <cstdio>
#include <cstdlib>

#include "input/Keyboard.h"
#include "tests/support/Board.h"

namespace tumblara {
namespace {

struct Table : testing::GameOnFakeWindow {
    using GameOnFakeWindow::GameOnFakeWindow;

    void Require(bool holds, const char* rule) const {
        if (holds) return;
        std::fprintf(stderr, "at %ld ms: %s\n", static_cast<long>(fake.Monotonic().count()), rule);
        std::abort();
    }
    // A sprite on a cell of the well (rows 0..31: a turn may reach row 0), or all four
    // together wholly above the window, where a landing or the window at load left them.
    bool Placed(int k) const {
        const float c = game.state.Cella, x = fake.SpriteLeft(k) / c, y = fake.SpriteTop(k) / c;
        const bool inWell = x >= 1 && x <= Well::kColumns && y >= 0 && y < Well::kFloorRow;
        if (x == std::floor(x) && y == std::floor(y) && inWell) return true;
        return fake.SpriteLeft(k) == 0 && fake.SpriteTop(k) == fake.SpriteTop(1) && y <= -1;
    }
    void Check() const {
        const GameState& s = game.state;
        for (int c = 1; c <= Well::kColumns; ++c) {
            for (int r = 1; r < Well::kFloorRow; ++r) Require(s.Campo(c, r) <= 7, "a cell outside 0..7");
            Require(s.NessunaPartita || s.Campo(c, Well::kFloorRow) != 0, "a gap in the floor");
        }
        Require(s.Punteggio % kPuntiRiga == 0, "a score not a multiple of a row's points");
        const std::int32_t ms = fake.Interval(TimerId::Timer1);
        const bool pace = ms >= kIntervalloMinimo && ms <= kIntervalloAvvio && ms % kPassoIntervallo == 0;
        Require(ms == kIntervalloCaduta || pace, "a gravity interval");
        for (int k = 1; k <= 4; ++k) Require(Placed(k), "a sprite neither in the well nor parked");
        Require(fake.callsAfterQuit == 0, "the window was called after quit");
        Require(fake.HasQuit() == game.Terminato(), "Esci and the end of the program apart");
    }
    void Handle(std::uint8_t op, std::uint8_t a, std::uint8_t b) {
        const GameState& s = game.state;
        const std::int32_t keys[] = {s.TastoDestra, s.TastoSinistra, s.TastoCaduta, s.TastoRotazione};
        switch (op % 16) {
            case 0: return Form_KeyDown(game, static_cast<std::int16_t>(keys[a % 4]), b);
            case 1: return Form_KeyUp(game, static_cast<std::int16_t>(keys[a % 4]), 0);
            case 2: return Form_KeyDown(game, static_cast<std::int16_t>(a | b << 8), 0);
            case 3: return game.NuovaPartita();
            case 4: return game.PausaContinua();
            case 5: return a == 'X' ? game.Esci() : void();  // rarely, so that most inputs keep playing
            case 6: return void(Repetition(game.state, a % 4));
            case 7: return SetKey(game.state, a % 6, b);
            case 8: return game.Timer1_Timer();  // ticks outside the timers' rhythm
            case 9: return game.Timer2_Timer();
            case 10: return game.Form_Activate();
            case 11: return Form_Deactivate(game);
            case 12: return fake.rnd.push_back(static_cast<float>(a | b << 8) / 65536.0f);
            case 13:  // a crowded row with one gap, the short way to full rows, levels and game overs
                for (int c = 1; c <= Well::kColumns && !s.NessunaPartita; ++c) {
                    const int row = kRigaPiuAltaDiSosta + a % (Well::kFloorRow - kRigaPiuAltaDiSosta);
                    if (c != 1 + b % Well::kColumns) game.state.Campo(c, row) = static_cast<std::uint8_t>(1 + b % 7);
                }
                return;
            default: return;  // nothing but the delay
        }
    }
};

}  // namespace
}  // namespace tumblara

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using tumblara::testing::Ms;
    if (size < 3) return 0;
    tumblara::Table t((data[1] << 8 | data[2]) * 86400.0 / 65536, 1 + data[0] % 255);
    t.fake.record = false;
    t.fake.onTimer1 = [&t] { t.game.Timer1_Timer(); t.Check(); };
    t.fake.onTimer2 = [&t] { t.game.Timer2_Timer(); t.Check(); };
    t.fake.After(Ms{0}, [&t] { t.game.Form_Activate(); });  // as the program starts
    long at = 0;
    for (std::size_t i = 3; i + 4 <= size && at < 300000; i += 4) {
        at += data[i + 1] < 160 ? data[i + 1] : (data[i + 1] - 159) * 100;
        t.fake.After(Ms{at}, [&t, op = data[i], a = data[i + 2], b = data[i + 3]] { t.Handle(op, a, b); t.Check(); });
    }
    t.Require(t.fake.RunFor(Ms{at + 3000}) || !t.game.Terminato(), "a wait went on after Esci");
    t.Check();
    return 0;
}
