#include "options/frmOption.h"

#include <QEventLoop>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include "engine/GameState.h"
#include "engine/Rounding.h"
#include "input/Colori.h"
#include "input/Keyboard.h"
#include "input/Twips.h"
#include "input/frmKey.h"

namespace tumblara {
namespace {

// Client area, in twips.
constexpr double kLarghezza = 3744;
constexpr double kAltezza = 2220;

constexpr std::int16_t kTastiPersonalizzati = 0;
constexpr std::int16_t kRipetizione = 1;
constexpr std::int16_t kChiudi = 2;

const QString kARipetizione = QStringLiteral("Tasti a ripetizione");
const QString kNonARipetizione = QStringLiteral("Tasti non a ripetizione");

// What the capture dialog shows for each action, KeyId 1..4: the action and
// its default key.
struct TestiCattura {
    const char* azione;
    const char* tasto;
};
constexpr std::array<TestiCattura, 4> kTestiCattura{{
    {"Spostamento a DESTRA ...", "<Freccia a destra>"},
    {"Spostamento a SINISTRA ...", "<Freccia a sinistra>"},
    {"Caduta rapida ...", "<Freccia giù>"},
    {"ROTAZIONE ...", "<Barra spaziatrice>"},
}};

// QCoreApplication::exit() ends every running event loop and makes every
// later one return at once, before it handles anything: a loop that ends
// before its own zero timer has fired shows that the program is ending.
bool ProgrammaInChiusura() {
    QEventLoop probe;
    bool fired = false;
    QTimer::singleShot(0, &probe, [&] {
        fired = true;
        probe.quit();
    });
    probe.exec();
    return !fired;
}

QLabel* Etichetta(const QString& testo, QWidget* parent) {
    auto* label = new QLabel(testo, parent);
    QFont palatino(QStringLiteral("Palatino Linotype"));
    palatino.setBold(true);
    palatino.setPointSizeF(16.2);
    label->setFont(palatino);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // Moves over a label are its own; they must not reach the background,
    // which would clear the highlight at once.
    label->setMouseTracking(true);
    return label;
}

}  // namespace

frmOption::frmOption(GameState& state, const QWidget* menuLabel, QWidget* parent, DialogPlacement placement)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      state_(state),
      Label1{Etichetta(QStringLiteral("Tasti Personalizzati"), this), Etichetta(kARipetizione, this),
             Etichetta(QStringLiteral("Chiudi le Opzioni"), this)},
      evidenziazione_({Label1.begin(), Label1.end()}, {kNero, kRossoScuro}, {kGiallo, kRosso}) {
    setWindowTitle(QString());
    if (placement == DialogPlacement::InsideMainWindow && parent) RealiseInside(*this, *parent->window());
    Colora(this, kNero, kRossoScuro);
    setMouseTracking(true);
    for (QLabel* label : Label1) label->installEventFilter(this);

    const Twips t = Twips::Of(menuLabel ? menuLabel : parent);
    resize(t.ToPixelsX(kLarghezza), t.ToPixelsY(kAltezza));
    Form_Load(menuLabel);
}

void frmOption::Form_Load(const QWidget* menuLabel) {
    const QScreen* schermo = menuLabel ? menuLabel->screen() : screen();
    const Twips t(schermo);
    const QRect area = schermo->geometry();
    const std::int32_t larghezzaSchermo = CInt(t.FromPixelsX(area.width()));
    double left = larghezzaSchermo - t.FromPixelsX(frameGeometry().width());
    double top = 0;
    if (menuLabel) {
        const QPoint inFinestra = menuLabel->mapTo(menuLabel->window(), QPoint(0, 0));
        top = (inFinestra.y() + menuLabel->height()) * t.PerPixelY();
    }
    MoveToScreenPoint(*this, {area.x() + t.ToPixelsX(left), area.y() + t.ToPixelsY(top)});

    for (std::size_t i = 0; i < Label1.size(); ++i) {
        const double W = t.FromPixelsX(frameGeometry().width());
        const double H = t.FromPixelsY(frameGeometry().height());
        Label1[i]->setGeometry(0, t.ToPixelsY(H * static_cast<double>(i) / 3.0), t.ToPixelsX(W),
                               t.ToPixelsY(H / 5.0));
    }

    Label1[kRipetizione]->setText(Repetition(state_, 0) ? kNonARipetizione : kARipetizione);
}

void frmOption::Label1_Click(std::int16_t Index) {
    switch (Index) {
        case kTastiPersonalizzati:
            for (std::int32_t KeyId = 1; KeyId <= 4; ++KeyId)
                if (!CatturaTasto(KeyId)) return;
            accept();
            break;
        case kRipetizione:
            Repetition(state_, Label1[kRipetizione]->text() == kARipetizione ? 1 : 2);
            accept();
            break;
        case kChiudi:
            accept();
            break;
        default:
            break;
    }
}

bool frmOption::CatturaTasto(std::int32_t KeyId) {
    const TestiCattura& testi = kTestiCattura[static_cast<std::size_t>(KeyId - 1)];
    frmKey dialog(this, QString::fromUtf8(testi.azione), QString::fromUtf8(testi.tasto));
    const std::optional<std::int16_t> tasto = dialog.Cattura();
    // Closed without a key: the binding stays. The program may be ending,
    // and then nothing else is touched and no other dialog opens.
    if (!tasto) return !ProgrammaInChiusura();
    SetKey(state_, KeyId, *tasto);
    return true;
}

bool frmOption::eventFilter(QObject* watched, QEvent* event) {
    const int index = evidenziazione_.Indice(watched);
    if (index < 0) return QDialog::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseMove:
            evidenziazione_.Label_MouseMove(static_cast<std::size_t>(index));
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return true;
        case QEvent::MouseButtonRelease: {
            // A click: pressed and released on the same label with the left button.
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && Label1[static_cast<std::size_t>(index)]->rect().contains(
                                                         mouse->position().toPoint()))
                Label1_Click(static_cast<std::int16_t>(index));
            return true;
        }
        default:
            return false;
    }
}

void frmOption::mouseMoveEvent(QMouseEvent* /*event*/) { evidenziazione_.Form_MouseMove(); }

// No key does anything here; Escape does not close the window either.
void frmOption::keyPressEvent(QKeyEvent* /*event*/) {}

}  // namespace tumblara
