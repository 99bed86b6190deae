// Stand-in for the shared window code (menu, elements, key table) until it
// lands behind the window-system interface; this file goes then.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Game.h"
#include "input/Keyboard.h"
#include "ui/Layout.h"
#include "web/EventPump.h"
#include "web/Page.h"
#include "web/WebServices.h"

namespace tumblara {
namespace {

constexpr std::uint8_t Luminosita(int x) { return static_cast<std::uint8_t>(x <= 17 ? 15 * x : 255 - 17 * (x - 17)); }
constexpr std::array<std::array<bool, 3>, 8> kCanali{{{false, false, false}, {true, false, false},
    {true, true, true}, {true, true, false}, {true, false, true}, {false, false, true}, {false, true, true},
    {false, true, false}}};

struct Codice {
    const char* code;
    std::int16_t vk;
};
constexpr std::array kCodici{Codice{"ArrowLeft", 37}, Codice{"ArrowUp", 38}, Codice{"ArrowRight", 39},
    Codice{"ArrowDown", 40}, Codice{"Space", 32}, Codice{"KeyA", 65}, Codice{"KeyD", 68}, Codice{"KeyS", 83},
    Codice{"KeyW", 87}, Codice{"Escape", 27}};

std::int16_t Vk(const std::string& code) {
    for (const Codice& c : kCodici)
        if (code == c.code) return c.vk;
    return 0;
}

int Etichetta(const char* testo, double punti, std::uint32_t colore, int sfondo, bool centrata) {
    const int id = tp_create(kTpLabel, 0);
    tp_font(id, "Times New Roman", punti, 1);
    tp_colours(id, static_cast<int>(colore), sfondo);
    tp_centred(id, centrata);
    tp_text(id, testo);
    return id;
}

}  // namespace

int InterimMain() {
    int w = 0;
    int h = 0;
    tp_start(&w, &h);
    const Layout layout = CalcolaLayout({w, h, 15.0, 15.0});
    const int cella = layout.Cella;

    for (int p = 1; p <= 7; ++p) {
        std::vector<std::uint8_t> rgba(32 * 32 * 4);
        for (int i = 0; i < 32 * 32; ++i) {
            const std::uint8_t v = Luminosita(i % 32);
            for (int c = 0; c < 3; ++c) rgba[static_cast<std::size_t>(i * 4 + c)] = kCanali[static_cast<std::size_t>(p)][static_cast<std::size_t>(c)] ? v : 0;
            rgba[static_cast<std::size_t>(i * 4 + 3)] = 255;
        }
        tp_picture(p, rgba.data(), 32);
    }

    std::array<int, 4> sprites{};
    for (int& s : sprites) {
        s = tp_create(kTpSprite, 0);
        tp_place(s, layout.Shape1.left, layout.Shape1.top, cella, cella);
    }
    const int frame = tp_create(kTpOutline, 0);
    std::array<int, 7> labels{};
    const std::array<const char*, 5> voci{"Nuova Partita", "Pausa", "Esci", "Opzioni", "Info"};
    for (std::size_t i = 0; i < 5; ++i) {
        labels[i] = Etichetta(voci[i], 13.8, 0x0F0F0F, 0, true);
        const PixelRect& r = layout.Label1[i];
        tp_place(labels[i], r.left, r.top, r.width, r.height);
    }
    labels[5] = Etichetta("Score : 0", 22.8, 0xFFFFFF, 0, false);
    tp_place(labels[5], layout.Label2.x, layout.Label2.y, -1, -1);
    labels[6] = Etichetta("", 22.8, 0x00FFFF, -1, true);
    tp_place(labels[6], layout.Label3.x, layout.Label3.y, -1, -1);
    tp_visible(labels[6], 0);
    const int label4 = Etichetta("Prossimo pezzo", 18, 0x0000FF, 0, true);
    tp_place(label4, layout.Label4.x, layout.Label4.y, -1, -1);
    const int text4 = tp_create(kTpTextBox, 0);
    tp_text(text4, "Tumblara ver 3.0\nby Nortavo\nwww.nortavo.example\n");
    tp_place(text4, layout.Text4.left, layout.Text4.top, layout.Text4.width, layout.Text4.height);
    tp_visible(text4, 0);

    EventPump pump;
    WebServices services(pump, labels, sprites);
    Game game(services);
    game.state.Cella = layout.Cella;
    pump.OnTick(0, [&] { game.Timer1_Timer(); });
    pump.OnTick(1, [&] { game.Timer2_Timer(); });
    services.SetTimerInterval(TimerId::Timer1, 300);
    for (int i = 0; i < 7; ++i) services.SetVisible(static_cast<LabelId>(i), i != 6);

    bool acceso = false;
    bool info = false;
    pump.OnEvent([&](const PageEvent& e) {
        if (game.Terminato()) return;
        switch (e.kind) {
        case PageEventKind::KeyDown: Form_KeyDown(game, Vk(e.code), 0); break;
        case PageEventKind::KeyUp: Form_KeyUp(game, 0, 0); break;
        case PageEventKind::Deactivate: Form_Deactivate(game); break;
        case PageEventKind::MouseMove:
            if (e.element == 0 && acceso) {
                acceso = false;
                for (int i = 0; i < 5; ++i) tp_colours(labels[static_cast<std::size_t>(i)], 0x0F0F0F, 0);
            }
            for (int i = 0; i < 5; ++i)
                if (e.element == labels[static_cast<std::size_t>(i)] && !acceso) {
                    acceso = true;
                    tp_colours(e.element, 0xFFFFFF, 0x000080);
                }
            break;
        case PageEventKind::MouseDown:
            if (e.element == 0) tp_visible(text4, info = false);
            break;
        case PageEventKind::Click:
            if (e.element == labels[0]) game.NuovaPartita();
            if (e.element == labels[1]) game.PausaContinua();
            if (e.element == labels[2]) game.Esci();
            if (e.element == labels[4]) tp_visible(text4, info = !info);
            if (e.element == text4) tp_visible(text4, info = false);
            break;
        default: break;
        }
        std::string codes;
        for (std::int32_t vk : {game.state.TastoDestra, game.state.TastoSinistra, game.state.TastoCaduta,
                                game.state.TastoRotazione})
            for (const Codice& c : kCodici)
                if (c.vk == vk) codes += std::string(c.code) + " ";
        tp_game_keys(codes.c_str(), 0);
    });
    tp_game_keys("ArrowRight ArrowLeft ArrowDown Space", 0);
    for (std::string_view name : {kSuonoPasso, kSuonoRiga, kSuonoLivello}) tp_preload(std::string(name).c_str());
    tp_listen();

    const PixelRect& f = layout.Shape2;
    tp_place(frame, f.left, f.top, f.width, f.height);
    game.Form_Activate();
    while (!pump.Ended()) pump.Wait(std::nullopt);
    return 0;
}

}  // namespace tumblara

int main() { return tumblara::InterimMain(); }
