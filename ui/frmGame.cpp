#include "ui/frmGame.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QScreen>
#include <QTextEdit>

#include "input/InWindowDialog.h"
#include "options/frmOption.h"
#include "packaging/icon/TFigure.h"
#include "ui/Canvas.h"

namespace tumblara {
namespace {

std::array<QLabel*, 7> EtichetteDelGioco(const Elementi& e) {
    return {e.Label1[0], e.Label1[1], e.Label1[2], e.Label1[3], e.Label1[4], e.Label2, e.Label3};
}

QRect Rettangolo(const PixelRect& r) { return {r.left, r.top, r.width, r.height}; }

}  // namespace

frmGame::frmGame()
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      e_(CreaElementi(this)),
      services_(*e_.canvas, EtichetteDelGioco(e_)),
      game_(services_),
      menu_(game_, e_, [this] { ApriOpzioni(); }),
      tasti_(game_, this, nullptr),
      x11_(*this, [this] {
          if (!game_.Terminato()) game_.Esci();
      }) {
    setWindowTitle(QStringLiteral("Pilastra"));
    QIcon icona;
    for (int lato : {16, 32, 48}) icona.addPixmap(QPixmap::fromImage(IconaT(lato)));
    setWindowIcon(icona);
    QPalette nero = palette();
    nero.setColor(QPalette::Window, Qt::black);
    setPalette(nero);
    setAutoFillBackground(true);

    services_.OnTick(TimerId::Timer1, [this] { game_.Timer1_Timer(); });
    services_.OnTick(TimerId::Timer2, [this] { game_.Timer2_Timer(); });
    // Gravity ticks from the start; they do nothing until a game runs.
    services_.SetTimerInterval(TimerId::Timer1, 300);

    Form_Load();
}

frmGame::~frmGame() = default;

void frmGame::Form_Load() {
    // The window covers the screen. Without a window manager a full-screen
    // request alone leaves the window at its default size.
    QScreen* schermo = screen();
    const QRect g = schermo->geometry();
    setGeometry(g);

    layout_ = CalcolaLayout({g.width(), g.height(), 1440.0 / schermo->logicalDotsPerInchX(),
                             1440.0 / schermo->logicalDotsPerInchY()});
    game_.state.Cella = layout_.Cella;

    const int cella = layout_.Cella;
    for (int i = 0; i < 4; ++i) {
        e_.Label1[static_cast<std::size_t>(i)]->setGeometry(Rettangolo(layout_.Label1[static_cast<std::size_t>(i)]));
        e_.canvas->SizeSprite(i + 1, cella);
        e_.canvas->MoveSprite(i + 1, static_cast<float>(layout_.Shape1.left), static_cast<float>(layout_.Shape1.top));
    }
    e_.Label1[4]->setGeometry(Rettangolo(layout_.Label1[4]));
    e_.Label2->move(layout_.Label2.x, layout_.Label2.y);
    e_.Label3->move(layout_.Label3.x, layout_.Label3.y);
    e_.Label4->move(layout_.Label4.x, layout_.Label4.y);
    e_.Text4->setGeometry(Rettangolo(layout_.Text4));
}

void frmGame::Form_Activate() {
    if (game_.Terminato()) return;
    e_.canvas->SetFrame(Rettangolo(layout_.Shape2));
    // Before the first game this waits, handling every other event, until a
    // game starts.
    game_.Form_Activate();
}

void frmGame::ApriOpzioni() {
    // Made for each opening and gone when it closes. The game's timers keep
    // running while it is open.
    frmOption opzioni(game_.state, e_.Label1[3], this, PlacementFor(QGuiApplication::platformName()));
    opzioni.exec();
}

bool frmGame::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::WindowActivate:
        // While a dialog is open inside the window, the keyboard coming and
        // going is the dialog's, as it would be for a window of its own.
        if (!attivo_ && !DialogOpenInside(*this)) {
            attivo_ = true;
            // Delivered from the event loop: the activation may wait for a
            // long time, and the code that showed the window goes on.
            QMetaObject::invokeMethod(this, [this] { Form_Activate(); }, Qt::QueuedConnection);
        }
        break;
    case QEvent::WindowDeactivate:
        if (!DialogOpenInside(*this)) attivo_ = false;
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void frmGame::closeEvent(QCloseEvent* event) {
    // Closed by the window system: the program ends as with "Esci".
    if (!game_.Terminato()) game_.Esci();
    event->accept();
}

void frmGame::resizeEvent(QResizeEvent* event) {
    // Form_Resize does nothing; the background simply follows the window.
    QWidget::resizeEvent(event);
    e_.canvas->setGeometry(rect());
}

}  // namespace tumblara
