#include "ui/frmGame.h"

#include <array>

#include "input/Keyboard.h"
#include "options/frmOption.h"
#include "ui/Colori.h"

namespace tumblara {
namespace {

constexpr std::array kMenu{ElementId::Menu0, ElementId::Menu1, ElementId::Menu2, ElementId::Menu3, ElementId::Menu4};
constexpr std::array<std::string_view, 5> kVociMenu{"Nuova Partita", "Pausa", "Esci", "Opzioni", "Info"};

constexpr Font TimesGrassetto(double punti) { return {"Times New Roman", punti, true}; }

}  // namespace

frmGame::frmGame(WindowSystem& finestre)
    : finestre_(finestre),
      finestra_(finestre, FormId::frmGame, *this),
      game_(finestre),
      menu_(finestre, game_, [this] { ApriOpzioni(); }) {
    CreaElementi();
    // Gravity ticks from the start; they do nothing until a game runs.
    finestre_.SetTimerInterval(TimerId::Timer1, 300);
    Form_Load();
}

// Every element in its resting state: the fonts, colours and captions of the design.
void frmGame::CreaElementi() {
    finestre_.SetWindowLook(FormId::frmGame, "Pilastra", kNero);
    for (std::size_t i = 0; i < kMenu.size(); ++i) {
        finestre_.SetFont(kMenu[i], TimesGrassetto(13.8));
        finestre_.SetAlignment(kMenu[i], Alignment::Centre);
        finestre_.SetText(kMenu[i], kVociMenu[i]);
    }
    struct Etichetta {
        ElementId id;
        double punti;
        Colour testo, sfondo;
        Alignment allineamento;
        std::string_view testoIniziale;
    };
    // Label3 is transparent: the well shows between the letters of the banner.
    const Etichetta etichette[] = {
        {ElementId::Label2, 22.8, kBianco, kNero, Alignment::Left, "Score : 0"},
        {ElementId::Label3, 22.8, kGiallo, kTrasparente, Alignment::Centre, ""},
        {ElementId::Label4, 18.0, kRosso, kNero, Alignment::Centre, "Prossimo pezzo"},
    };
    for (const Etichetta& e : etichette) {
        finestre_.SetFont(e.id, TimesGrassetto(e.punti));
        finestre_.SetColours(e.id, e.testo, e.sfondo);
        finestre_.SetAlignment(e.id, e.allineamento);
        finestre_.SetAutoSize(e.id, true);
        finestre_.SetText(e.id, e.testoIniziale);
    }
    finestre_.SetShown(ElementId::Label3, false);

    finestre_.SetColours(ElementId::Text4, kPredefinito, kGrigioChiaro);
    finestre_.SetAlignment(ElementId::Text4, Alignment::Centre);
    finestre_.SetText(ElementId::Text4, "Tumblara ver " TUMBLARA_VERSION "\nby Nortavo\nwww.nortavo.example\n");
    finestre_.SetShown(ElementId::Text4, false);
}

void frmGame::Form_Load() {
    const ScreenMetrics schermo = finestre_.Screen();
    finestre_.MoveWindow(FormId::frmGame, {0, 0, schermo.widthPx, schermo.heightPx});
    layout_ = CalcolaLayout(schermo);
    game_.state.Cella = layout_.Cella;

    const int cella = layout_.Cella;
    for (int i = 0; i < 4; ++i) {
        finestre_.MoveElement(kMenu[static_cast<std::size_t>(i)], layout_.Label1[static_cast<std::size_t>(i)]);
        finestre_.SizeSprite(i + 1, cella);
        finestre_.MoveSprite(i + 1, static_cast<float>(layout_.Shape1.left), static_cast<float>(layout_.Shape1.top));
    }
    finestre_.MoveElement(ElementId::Menu4, layout_.Label1[4]);
    finestre_.MoveElement(ElementId::Label2, {layout_.Label2.x, layout_.Label2.y, -1, -1});
    finestre_.MoveElement(ElementId::Label3, {layout_.Label3.x, layout_.Label3.y, -1, -1});
    finestre_.MoveElement(ElementId::Label4, {layout_.Label4.x, layout_.Label4.y, -1, -1});
    finestre_.MoveElement(ElementId::Text4, layout_.Text4);
}

void frmGame::Activate() { Form_Activate(); }

void frmGame::Form_Activate() {
    if (game_.Terminato()) return;
    finestre_.SetFrame(layout_.Shape2, kVerde);
    // Before the first game this waits, handling every other event, until a
    // game starts.
    game_.Form_Activate();
}

// The keyboard went elsewhere: the release of a held key will not come here.
void frmGame::Deactivate() {
    if (!game_.Terminato()) Form_Deactivate(game_);
}

// Closed by the window system: the program ends as with "Esci".
void frmGame::CloseRequest() {
    if (!game_.Terminato()) game_.Esci();
}

// Repeated key-downs are the held key's: the repetition setting decides.
void frmGame::KeyDown(int keyCode, bool /*repeat*/) {
    if (SenzaInput()) return;
    Form_KeyDown(game_, static_cast<std::int16_t>(keyCode), 0);
}

// The release of an auto-repeat pair is none: only the real release ends the
// hold, or repetition off would act as on.
void frmGame::KeyUp(int keyCode, bool repeat) {
    if (SenzaInput() || repeat) return;
    Form_KeyUp(game_, static_cast<std::int16_t>(keyCode), 0);
}

bool frmGame::UsesKey(int keyCode) const { return TastoLegato(game_.state, keyCode); }

void frmGame::MouseMove(ElementId element) {
    if (!SenzaInput()) menu_.MouseMove(element);
}

void frmGame::MouseDown(ElementId element) {
    if (!SenzaInput()) menu_.MouseDown(element);
}

void frmGame::Click(ElementId element) {
    if (!SenzaInput()) menu_.Click(element);
}

void frmGame::Tick(TimerId timer) {
    if (game_.Terminato()) return;
    if (timer == TimerId::Timer1)
        game_.Timer1_Timer();
    else
        game_.Timer2_Timer();
}

void frmGame::ApriOpzioni() {
    // Made for each opening and gone when it closes. The game's timers keep
    // running while it is open.
    ++modali_;
    frmOption(finestre_, game_, layout_.Label1[3]).Show();
    --modali_;
}

}  // namespace tumblara
