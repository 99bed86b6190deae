// Stand-in for the shared main window until it lands behind the window-system
// interface; this file goes then.

#include <array>
#include <memory>

#include "engine/Game.h"
#include "input/Keyboard.h"
#include "ui/Layout.h"
#include "ui/WindowSystem.h"

namespace tumblara {
namespace {

class Interim : public WindowEvents {
public:
    explicit Interim(WindowSystem& w) : w_(w), game_(w) {
        w_.OpenWindow(FormId::frmGame, *this);
        const ScreenMetrics s = w_.Screen();
        const Layout l = CalcolaLayout({s.widthPx, s.heightPx, s.twipsPerPixelX, s.twipsPerPixelY});
        layout_ = l;
        game_.state.Cella = l.Cella;
        const std::array<const char*, 5> voci{"Nuova Partita", "Pausa", "Esci", "Opzioni", "Info"};
        for (int i = 0; i < 5; ++i) {
            const auto e = static_cast<ElementId>(i);
            Look(e, 13.8, 0x0F0F0F, 0, Alignment::Centre);
            w_.SetText(e, voci[static_cast<std::size_t>(i)]);
            const PixelRect& r = l.Label1[static_cast<std::size_t>(i)];
            w_.MoveElement(e, {r.left, r.top, r.width, r.height});
        }
        Look(ElementId::Label2, 22.8, 0xFFFFFF, 0, Alignment::Left);
        w_.SetAutoSize(ElementId::Label2, true);
        w_.SetText(ElementId::Label2, "Score : 0");
        w_.MoveElement(ElementId::Label2, {l.Label2.x, l.Label2.y, -1, -1});
        Look(ElementId::Label3, 22.8, 0x00FFFF, kTrasparente, Alignment::Centre);
        w_.SetAutoSize(ElementId::Label3, true);
        w_.SetShown(ElementId::Label3, false);
        w_.MoveElement(ElementId::Label3, {l.Label3.x, l.Label3.y, -1, -1});
        Look(ElementId::Label4, 18, 0x0000FF, 0, Alignment::Centre);
        w_.SetAutoSize(ElementId::Label4, true);
        w_.SetText(ElementId::Label4, "Prossimo pezzo");
        w_.MoveElement(ElementId::Label4, {l.Label4.x, l.Label4.y, -1, -1});
        w_.SetText(ElementId::Text4, "Tumblara ver 3.0\nby Nortavo\nwww.nortavo.example\n");
        w_.SetShown(ElementId::Text4, false);
        w_.MoveElement(ElementId::Text4, {l.Text4.left, l.Text4.top, l.Text4.width, l.Text4.height});
        for (int k = 1; k <= 4; ++k) {
            w_.SizeSprite(k, l.Cella);
            w_.MoveSprite(k, 0, static_cast<float>(l.Shape1.top));
        }
        w_.SetTimerInterval(TimerId::Timer1, 300);
    }

    void Activate() override {
        const PixelRect& f = layout_.Shape2;
        w_.SetFrame({f.left, f.top, f.width, f.height}, 0x00FF00);
        game_.Form_Activate();
    }
    void Deactivate() override { Form_Deactivate(game_); }
    void KeyDown(int code, bool) override {
        if (!game_.Terminato()) Form_KeyDown(game_, static_cast<std::int16_t>(code), 0);
    }
    void KeyUp(int, bool) override { Form_KeyUp(game_, 0, 0); }
    void Tick(TimerId t) override {
        if (t == TimerId::Timer1) game_.Timer1_Timer();
        if (t == TimerId::Timer2) game_.Timer2_Timer();
    }
    void MouseMove(ElementId e) override {
        if (e == ElementId::Background && acceso_) {
            acceso_ = false;
            for (int i = 0; i < 5; ++i) w_.SetColours(static_cast<ElementId>(i), 0x0F0F0F, 0);
        } else if (e <= ElementId::Menu4 && !acceso_) {
            acceso_ = true;
            w_.SetColours(e, 0xFFFFFF, 0x000080);
        }
    }
    void MouseDown(ElementId e) override {
        if (e == ElementId::Background) w_.SetShown(ElementId::Text4, false);
    }
    void Click(ElementId e) override {
        if (game_.Terminato()) return;
        if (e == ElementId::Menu0) game_.NuovaPartita();
        if (e == ElementId::Menu1) game_.PausaContinua();
        if (e == ElementId::Menu2) game_.Esci();
        if (e == ElementId::Menu4) w_.SetShown(ElementId::Text4, !w_.Shown(ElementId::Text4));
        if (e == ElementId::Text4) w_.SetShown(ElementId::Text4, false);
    }

private:
    void Look(ElementId e, double points, Colour text, Colour back, Alignment a) {
        w_.SetFont(e, {"Times New Roman", points, true});
        w_.SetColours(e, text, back);
        w_.SetAlignment(e, a);
    }

    WindowSystem& w_;
    Game game_;
    Layout layout_;
    bool acceso_ = false;
};

}  // namespace
}  // namespace tumblara

int main(int argc, char** argv) {
    return tumblara::RunPlatform(argc, argv, [](tumblara::WindowSystem& w) { return std::make_unique<tumblara::Interim>(w); });
}
