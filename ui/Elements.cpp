#include "ui/Elements.h"

#include <QLabel>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>

#include "input/Colori.h"
#include "ui/Canvas.h"

namespace tumblara {
namespace {

QFont TimesGrassetto(qreal punti) {
    QFont f(QStringLiteral("Times New Roman"));
    f.setPointSizeF(punti);
    f.setBold(true);
    return f;
}

QLabel* Etichetta(QWidget* form, const char* testo, qreal punti) {
    auto* l = new QLabel(QString::fromUtf8(testo), form);
    l->setFont(TimesGrassetto(punti));
    l->setMargin(0);
    return l;
}

QTextEdit* TestoInfo(QWidget* form) {
    auto* t = new QTextEdit(form);
    t->setReadOnly(true);
    // Out of the Tab order; a click still focuses it.
    t->setFocusPolicy(Qt::ClickFocus);
    t->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    t->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette pal = t->palette();
    pal.setColor(QPalette::Base, ColoreBGR(0xE0E0E0));
    t->setPalette(pal);
    t->setPlainText(QStringLiteral("Tumblara ver " TUMBLARA_VERSION "\nby Nortavo\nwww.nortavo.example\n"));
    QTextCursor all(t->document());
    all.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    all.mergeBlockFormat(centred);
    t->hide();
    return t;
}

}  // namespace

Elementi CreaElementi(QWidget* form) {
    Elementi e;
    // Created first, so every later sibling stacks above it.
    e.canvas = new Canvas(form);

    for (std::size_t i = 0; i < e.Label1.size(); ++i) {
        QLabel* l = Etichetta(form, kVociMenu[i], 13.8);
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        // The menu reacts to the pointer passing over it.
        l->setMouseTracking(true);
        e.Label1[i] = l;
    }

    e.Label2 = Etichetta(form, "Score : 0", 22.8);
    Colora(e.Label2, kBianco, kNero);
    e.Label2->adjustSize();

    // Transparent: the well shows between the letters.
    e.Label3 = Etichetta(form, "", 22.8);
    e.Label3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette giallo = e.Label3->palette();
    giallo.setColor(QPalette::WindowText, ColoreBGR(kGiallo));
    e.Label3->setPalette(giallo);
    e.Label3->hide();

    e.Label4 = Etichetta(form, "Prossimo pezzo", 18.0);
    e.Label4->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Colora(e.Label4, kRosso, kNero);
    e.Label4->adjustSize();

    e.Text4 = TestoInfo(form);
    return e;
}

}  // namespace tumblara
