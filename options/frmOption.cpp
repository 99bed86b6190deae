#include "options/frmOption.h"

#include <array>

#include "engine/Game.h"
#include "input/Keyboard.h"
#include "input/frmKey.h"
#include "ui/Colori.h"
#include "ui/Twips.h"

namespace tumblara {
namespace {

// Client area, in twips.
constexpr double kLarghezza = 3744;
constexpr double kAltezza = 2220;

constexpr std::int16_t kTastiPersonalizzati = 0;
constexpr std::int16_t kRipetizione = 1;
constexpr std::int16_t kChiudi = 2;

constexpr std::array kLabel1{ElementId::Opzione0, ElementId::Opzione1, ElementId::Opzione2};

constexpr std::string_view kARipetizione = "Tasti a ripetizione";
constexpr std::string_view kNonARipetizione = "Tasti non a ripetizione";

// What the capture dialog shows for each action, KeyId 1..4: the action and
// its default key.
struct TestiCattura {
    std::string_view azione;
    std::string_view tasto;
};
constexpr std::array<TestiCattura, 4> kTestiCattura{{
    {"Spostamento a DESTRA ...", "<Freccia a destra>"},
    {"Spostamento a SINISTRA ...", "<Freccia a sinistra>"},
    {"Caduta rapida ...", "<Freccia giù>"},
    {"ROTAZIONE ...", "<Barra spaziatrice>"},
}};

}  // namespace

frmOption::frmOption(WindowSystem& finestre, Game& game, PixelRect opzioni)
    : finestre_(finestre),
      game_(game),
      finestra_(finestre, FormId::frmOption, *this),
      evidenziazione_(finestre, {kLabel1.begin(), kLabel1.end()}, {kNero, kRossoScuro}, {kGiallo, kRosso}) {
    finestre_.SetWindowLook(FormId::frmOption, "", kRossoScuro);
    const std::array<std::string_view, 3> testi{"Tasti Personalizzati", kARipetizione, "Chiudi le Opzioni"};
    for (std::size_t i = 0; i < kLabel1.size(); ++i) {
        finestre_.SetFont(kLabel1[i], {"Palatino Linotype", 16.2, true});
        finestre_.SetAlignment(kLabel1[i], Alignment::Centre);
        finestre_.SetText(kLabel1[i], testi[i]);
    }
    Form_Load(opzioni);
}

void frmOption::Form_Load(PixelRect opzioni) {
    const ScreenMetrics schermo = finestre_.Screen();
    const Twips t(schermo);
    const int larghezza = t.ToPixelsX(kLarghezza);
    const std::int32_t larghezzaSchermo = CInt(t.FromPixelsX(schermo.widthPx));
    const double left = larghezzaSchermo - t.FromPixelsX(larghezza);
    const double top = (opzioni.top + opzioni.height) * t.PerPixelY();
    const int altezza = t.ToPixelsY(kAltezza);
    finestre_.MoveWindow(FormId::frmOption, {t.ToPixelsX(left), t.ToPixelsY(top), larghezza, altezza});

    for (std::size_t i = 0; i < kLabel1.size(); ++i) {
        const PixelRect finestra = finestre_.WindowRect(FormId::frmOption);
        const double W = t.FromPixelsX(finestra.width);
        const double H = t.FromPixelsY(finestra.height);
        const int y = t.ToPixelsY(H * static_cast<double>(i) / 3.0);
        finestre_.MoveElement(kLabel1[i], {0, y, t.ToPixelsX(W), t.ToPixelsY(H / 5.0)});
    }

    finestre_.SetText(ElementId::Opzione1, Repetition(game_.state, 0) ? kNonARipetizione : kARipetizione);
}

void frmOption::Show() { finestre_.ShowModal(FormId::frmOption); }

void frmOption::MouseMove(ElementId element) {
    if (element == ElementId::Background) evidenziazione_.Form_MouseMove();
    const int index = evidenziazione_.Indice(element);
    if (index >= 0) evidenziazione_.Label_MouseMove(static_cast<std::size_t>(index));
}

void frmOption::Click(ElementId element) {
    const int index = evidenziazione_.Indice(element);
    if (index >= 0) Label1_Click(static_cast<std::int16_t>(index));
}

void frmOption::Label1_Click(std::int16_t Index) {
    switch (Index) {
        case kTastiPersonalizzati:
            for (std::int32_t KeyId = 1; KeyId <= 4; ++KeyId)
                if (!CatturaTasto(KeyId)) return;
            Chiudi();
            break;
        case kRipetizione:
            Repetition(game_.state, finestre_.Text(ElementId::Opzione1) == kARipetizione ? 1 : 2);
            Chiudi();
            break;
        case kChiudi:
            Chiudi();
            break;
        default:
            break;
    }
}

bool frmOption::CatturaTasto(std::int32_t KeyId) {
    const TestiCattura& testi = kTestiCattura[static_cast<std::size_t>(KeyId - 1)];
    const std::optional<std::int16_t> tasto = frmKey(finestre_, testi.azione, testi.tasto).Cattura();
    // Closed without a key: the binding stays. The program may be ending,
    // and then nothing else is touched and no other dialog opens.
    if (!tasto) return !game_.Terminato();
    SetKey(game_.state, KeyId, *tasto);
    return true;
}

// Closed by the window system: as "Chiudi le Opzioni".
void frmOption::CloseRequest() { Chiudi(); }

void frmOption::Chiudi() { finestre_.CloseWindow(FormId::frmOption); }

}  // namespace tumblara
