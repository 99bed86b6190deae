#include "ui/Menu.h"

#include "engine/Game.h"
#include "ui/Colori.h"

namespace tumblara {

Menu::Menu(WindowSystem& finestre, Game& game, std::function<void()> apriOpzioni)
    : finestre_(finestre),
      game_(game),
      apriOpzioni_(std::move(apriOpzioni)),
      evidenziazione_(finestre,
                      {ElementId::Menu0, ElementId::Menu1, ElementId::Menu2, ElementId::Menu3, ElementId::Menu4},
                      {kMenuTesto, kNero}, {kBianco, kRossoScuro}) {}

void Menu::MouseMove(ElementId element) {
    if (element == ElementId::Background) evidenziazione_.Form_MouseMove();
    const int index = evidenziazione_.Indice(element);
    if (index >= 0) evidenziazione_.Label_MouseMove(static_cast<std::size_t>(index));
}

void Menu::MouseDown(ElementId element) {
    if (element == ElementId::Background) Form_MouseDown();
}

void Menu::Click(ElementId element) {
    if (element == ElementId::Text4) Text4_Click();
    const int index = evidenziazione_.Indice(element);
    if (index >= 0) Label1_Click(index);
}

void Menu::Label1_Click(int Index) {
    switch (Index) {
    case 0: game_.NuovaPartita(); break;
    case 1: game_.PausaContinua(); break;
    case 2: game_.Esci(); break;
    case 3: if (apriOpzioni_) apriOpzioni_(); break;
    case 4: finestre_.SetShown(ElementId::Text4, !finestre_.Shown(ElementId::Text4)); break;
    default: break;
    }
}

void Menu::Text4_Click() { finestre_.SetShown(ElementId::Text4, false); }

void Menu::Form_MouseDown() { finestre_.SetShown(ElementId::Text4, false); }

}  // namespace tumblara
