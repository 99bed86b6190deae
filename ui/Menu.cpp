#include "ui/Menu.h"

#include <QLabel>
#include <QMouseEvent>
#include <QTextEdit>

#include "engine/Game.h"
#include "ui/Canvas.h"

namespace tumblara {

Menu::Menu(Game& game, const Elementi& elementi, std::function<void()> apriOpzioni)
    : game_(game),
      e_(elementi),
      apriOpzioni_(std::move(apriOpzioni)),
      evidenziazione_({e_.Label1.begin(), e_.Label1.end()}, {kMenuTesto, kNero}, {kBianco, kRossoScuro}) {
    for (QLabel* l : e_.Label1) l->installEventFilter(this);
    e_.Text4->viewport()->installEventFilter(this);
    e_.canvas->installEventFilter(this);
}

void Menu::Label1_Click(int Index) {
    switch (Index) {
    case 0: game_.NuovaPartita(); break;
    case 1: game_.PausaContinua(); break;
    case 2: game_.Esci(); break;
    case 3: if (apriOpzioni_) apriOpzioni_(); break;
    case 4: e_.Text4->setVisible(e_.Text4->isHidden()); break;
    default: break;
    }
}

void Menu::Text4_Click() { e_.Text4->hide(); }

void Menu::Form_MouseDown() { e_.Text4->hide(); }

// The falling piece's blocks are elements of their own: the pointer over
// them is not over the background.
bool Menu::SuUnoSprite(QEvent* event) const {
    const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
    return e_.canvas->SpriteAt(p) != 0;
}

bool Menu::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == e_.canvas) {
        if (type == QEvent::MouseMove && !SuUnoSprite(event)) evidenziazione_.Form_MouseMove();
        if (type == QEvent::MouseButtonPress && !SuUnoSprite(event)) Form_MouseDown();
        return false;
    }
    if (watched == e_.Text4->viewport()) {
        if (type == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            Text4_Click();
        return false;
    }
    const int index = evidenziazione_.Indice(watched);
    if (index < 0) return false;
    switch (type) {
    case QEvent::MouseMove:
        evidenziazione_.Label_MouseMove(static_cast<std::size_t>(index));
        return true;
    case QEvent::MouseButtonPress: {
        const auto* m = static_cast<QMouseEvent*>(event);
        if (m->button() == Qt::LeftButton) premuto_ = index;
        return true;
    }
    case QEvent::MouseButtonDblClick:
        // The second press of a double click is no new click.
        return true;
    case QEvent::MouseButtonRelease: {
        const auto* m = static_cast<QMouseEvent*>(event);
        if (m->button() != Qt::LeftButton) return true;
        const bool click = premuto_ == index && e_.Label1[static_cast<std::size_t>(index)]->rect().contains(
                                                    m->position().toPoint());
        premuto_ = -1;
        if (click) Label1_Click(index);
        return true;
    }
    default:
        return false;
    }
}

}  // namespace tumblara
