#include "input/frmKey.h"

#include "ui/Colori.h"
#include "ui/Twips.h"

namespace tumblara {
namespace {

// Design, in twips.
constexpr double kAltezza = 2136;
constexpr double kLabel1Left = 120;
constexpr double kLabel1Top = 480;
constexpr double kLabel2Left = 1320;
constexpr double kLabel2Top = 1440;

}  // namespace

frmKey::frmKey(WindowSystem& finestre, std::string_view azione, std::string_view tasto)
    : finestre_(finestre), finestra_(finestre, FormId::frmKey, *this) {
    finestre_.SetWindowLook(FormId::frmKey, "", kRossoScuro);
    finestre_.SetFont(ElementId::Cattura1, {"Palatino Linotype", 12, true});
    const Twips t(finestre_.Screen());
    const std::pair<ElementId, std::string_view> labels[] = {{ElementId::Cattura1, azione},
                                                             {ElementId::Cattura2, tasto}};
    for (const auto& [label, testo] : labels) {
        finestre_.SetColours(label, kGiallo, kRossoScuro);
        finestre_.SetAutoSize(label, true);
        finestre_.SetText(label, testo);
    }
    finestre_.MoveElement(ElementId::Cattura1, {t.ToPixelsX(kLabel1Left), t.ToPixelsY(kLabel1Top), -1, -1});
    finestre_.MoveElement(ElementId::Cattura2, {t.ToPixelsX(kLabel2Left), t.ToPixelsY(kLabel2Top), -1, -1});
    Form_Load();
}

void frmKey::Form_Load() {
    const Twips t(finestre_.Screen());
    const PixelRect o = finestre_.WindowRect(FormId::frmOption);
    const std::int32_t left = CInt(t.FromPixelsX(o.left));
    const std::int32_t top = CInt(t.FromPixelsY(o.top));
    const std::int32_t width = CInt(t.FromPixelsX(o.width));
    const std::int32_t height = CInt(t.FromPixelsY(o.height));
    finestre_.MoveWindow(FormId::frmKey,
                         {t.ToPixelsX(left), t.ToPixelsY(top + height), t.ToPixelsX(width), t.ToPixelsY(kAltezza)});
}

std::optional<std::int16_t> frmKey::Cattura() {
    finestre_.ShowModal(FormId::frmKey);
    return catturato_;
}

void frmKey::KeyDown(int keyCode, bool /*repeat*/) {
    // A key without a code has nothing to hand back: closed as the window system would.
    if (keyCode == 0)
        Chiudi();
    else
        Form_KeyDown(static_cast<std::int16_t>(keyCode), 0);
}

void frmKey::Form_KeyDown(std::int16_t KeyCode, std::int16_t /*Shift*/) {
    if (chiuso_) return;
    catturato_ = KeyCode;
    Chiudi();
}

void frmKey::CloseRequest() { Chiudi(); }

void frmKey::Chiudi() {
    chiuso_ = true;
    finestre_.CloseWindow(FormId::frmKey);
}

}  // namespace tumblara
