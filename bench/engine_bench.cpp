// What the game itself costs, without a window: a step down, a landing that
// removes four rows, a key, and a whole game.

#include <benchmark/benchmark.h>

#include "bench/Autoplayer.h"
#include "bench/LeanWindow.h"
#include "engine/Game.h"
#include "engine/Shapes.h"

namespace tumblara::bench {
namespace {

constexpr int kCella = kCellaBench;

void MettiPezzo(LeanWindow& window, Game& game, std::int16_t tipo, std::int16_t rot, int x, int y) {
    game.state.TipoPezzo = tipo;
    game.state.RotPezzo = rot;
    const ShapeOffsets& f = Forma(tipo, rot);
    for (int k = 1; k <= 4; ++k) {
        const Offset& o = f[static_cast<std::size_t>(k - 1)];
        window.MoveSprite(k, static_cast<float>((x + o.dc) * kCella), static_cast<float>((y + o.dr) * kCella));
    }
}

// One gravity tick that moves the piece down a row in an empty well.
void BM_GravityTick(benchmark::State& st) {
    LeanWindow window;
    Game game(window);
    AvviaPartita(game, window);
    MettiPezzo(window, game, 7, 0, 6, 2);
    for (auto _ : st) {
        game.Timer1_Timer();
        // Lift the piece back before it lands, so every tick is a step down.
        if (window.SpriteTop(1) > 25.0f * kCella) MettiPezzo(window, game, 7, 0, 6, 2);
    }
    if (window.landings != 0) st.SkipWithError("a tick landed the piece");
    st.SetItemsProcessed(st.iterations());
}
BENCHMARK(BM_GravityTick);

// A vertical I dropped into the gap of four full rows, under a ragged stack
// that every removal moves down: the tick stores it, removes the four rows and
// hands over to the next piece.
void BM_LandingRemovesFourRows(benchmark::State& st) {
    LeanWindow window;
    Game game(window);
    AvviaPartita(game, window);
    Well& campo = game.state.Campo;
    for (int r = 20; r <= 27; ++r)
        for (int c = 1; c <= Well::kColumns; ++c)
            if ((c + r) % 3 != 0) campo(c, r) = static_cast<std::uint8_t>(1 + (c % 7));
    for (int r = 28; r <= 31; ++r)
        for (int c = 1; c <= Well::kColumns; ++c) campo(c, r) = c == 5 ? 0 : 2;
    for (int r = 20; r <= 27; ++r) campo(5, r) = 0;  // a shaft down to the gap
    const GameState prima = game.state;

    int removed = 0;
    for (auto _ : st) {
        // Restoring the well is a 512-byte copy, small beside the landing.
        game.state = prima;
        MettiPezzo(window, game, 1, 1, 5, 28);
        game.Timer1_Timer();
        removed += game.state.Punteggio / 16;
    }
    if (removed != 4 * static_cast<int>(st.iterations())) st.SkipWithError("four rows were not removed");
    st.SetItemsProcessed(st.iterations());
}
BENCHMARK(BM_LandingRemovesFourRows);

// A turn and a shift, as the keys ask for them.
void BM_TurnAndShift(benchmark::State& st) {
    LeanWindow window;
    Game game(window);
    AvviaPartita(game, window);
    MettiPezzo(window, game, 3, 0, 6, 10);
    bool destra = true;
    for (auto _ : st) {
        game.Ruota();
        game.Muovi(destra);
        destra = !destra;
    }
    st.SetItemsProcessed(2 * st.iterations());
}
BENCHMARK(BM_TurnAndShift);

// A whole game: 250 pieces placed well across several levels, then pieces
// left to pile up until the game ends.
void BM_WholeGame(benchmark::State& st) {
    const Piano piano = Pianifica(250);
    int ticks = 0;
    for (auto _ : st) {
        LeanWindow window;
        Game game(window);
        ticks = Rigioca(piano, game, window);
        if (window.waitsForPlayer != 1 || !(game.state.Campo == piano.finalCampo)) {
            st.SkipWithError("the replay left the planned game");
            break;
        }
        benchmark::DoNotOptimize(game.state.Campo);
    }
    st.counters["pieces"] = static_cast<double>(piano.mosse.size());
    st.counters["ticks"] = ticks;
    st.counters["levels"] = piano.livelli;
    st.SetItemsProcessed(st.iterations() * static_cast<std::int64_t>(piano.mosse.size()));
}
BENCHMARK(BM_WholeGame)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tumblara::bench

BENCHMARK_MAIN();
