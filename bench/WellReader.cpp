#include "bench/WellReader.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "engine/Shapes.h"

namespace tumblara::bench {
namespace {

constexpr int kRigheIngresso = 3;

struct Punto {
    int c;
    int r;
    bool operator==(const Punto&) const = default;
    bool operator<(const Punto& o) const { return c != o.c ? c < o.c : r < o.r; }
};

std::vector<Punto> Celle(const PezzoVisto& p) {
    std::vector<Punto> out;
    for (const Offset& o : Forma(p.tipo, p.rot)) out.push_back({p.x + o.dc, p.y + o.dr});
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

bool SembraBlocco(const Luce& luce, int x0, int y0, int cella) {
    auto at = [&](int per100, int y) { return luce(x0 + cella * per100 / 100, y); };
    const int mezzo = y0 + cella / 2;
    const int sinistra = at(10, mezzo);
    const int salita = at(30, mezzo);
    const int picco = at(55, mezzo);
    const int destra = at(92, mezzo);
    if (picco < 150 || !(sinistra < salita && salita < picco && destra < picco)) return false;
    // Every row of a block picture is the same ramp.
    for (int y : {y0 + cella / 5, y0 + cella * 4 / 5})
        if (std::abs(at(55, y) - picco) > 12 || std::abs(at(10, y) - sinistra) > 12) return false;
    return true;
}

Griglia LeggiGriglia(const Luce& luce, int cella) {
    Griglia g{};
    for (int c = 1; c <= Well::kColumns; ++c)
        for (int r = 1; r < Well::kFloorRow; ++r) g[c][r] = SembraBlocco(luce, c * cella, r * cella, cella);
    return g;
}

std::optional<PezzoVisto> PezzoEntrato(const Griglia& g) {
    std::vector<Punto> visti;
    for (int c = 1; c <= Well::kColumns; ++c)
        for (int r = 1; r <= kRigheIngresso; ++r)
            if (g[c][r]) visti.push_back({c, r});
    // Three in one column: a vertical bar, whose fourth block is in row 4.
    if (visti.size() == 3 && std::all_of(visti.begin(), visti.end(), [&](const Punto& p) { return p.c == visti[0].c; })) {
        if (!g[visti[0].c][kRigheIngresso + 1]) return std::nullopt;
        visti.push_back({visti[0].c, kRigheIngresso + 1});
    }
    if (visti.size() != 4) return std::nullopt;
    std::sort(visti.begin(), visti.end());

    for (std::int16_t tipo = 1; tipo <= 7; ++tipo) {
        for (std::int16_t rot = 0; rot < 4; ++rot) {
            // Any seen cell may be the reference block.
            for (const Punto& p : visti) {
                const PezzoVisto candidato{tipo, rot, p.c, p.r};
                if (Celle(candidato) == visti) return candidato;
            }
        }
    }
    return std::nullopt;
}

Well CampoVisto(const Griglia& g, const PezzoVisto& pezzo) {
    Well campo;
    campo.Reset(255);
    for (int c = 1; c <= Well::kColumns; ++c)
        for (int r = 1; r < Well::kFloorRow; ++r)
            if (g[c][r]) campo(c, r) = 1;
    for (const Punto& p : Celle(pezzo)) campo(p.c, p.r) = 0;
    return campo;
}

void Ricostruisci(Game& game, LeanWindow& window, const PezzoVisto& pezzo, const Griglia& g, int cella) {
    game.state.Cella = static_cast<std::uint8_t>(cella);
    game.state.InGioco = true;
    game.state.NessunaPartita = false;
    game.state.Campo = CampoVisto(g, pezzo);
    game.state.TipoPezzo = pezzo.tipo;
    game.state.RotPezzo = pezzo.rot;
    // Any picture: a landing stores it in Campo, and 0 would read as empty.
    game.state.ColorePezzo = 1;
    window.resume = &game.state.InGioco;
    const ShapeOffsets& f = Forma(pezzo.tipo, pezzo.rot);
    for (int k = 1; k <= 4; ++k) {
        const Offset& o = f[static_cast<std::size_t>(k - 1)];
        window.MoveSprite(k, static_cast<float>((pezzo.x + o.dc) * cella), static_cast<float>((pezzo.y + o.dr) * cella));
    }
}

}  // namespace tumblara::bench
