#include "input/frmKey.h"

#include <QKeyEvent>
#include <QLabel>

#include "engine/Rounding.h"
#include "input/Colori.h"
#include "input/InWindowDialog.h"
#include "input/Twips.h"
#include "input/VirtualKey.h"

namespace tumblara {
namespace {

// Design, in twips.
constexpr double kAltezza = 2136;
constexpr double kLarghezza = 3744;
constexpr double kLabel1Left = 120;
constexpr double kLabel1Top = 480;
constexpr double kLabel2Left = 1320;
constexpr double kLabel2Top = 1440;

}  // namespace

frmKey::frmKey(QWidget* optionsWindow, const QString& azione, const QString& tasto)
    : QDialog(optionsWindow, Qt::Dialog | Qt::FramelessWindowHint),
      label1_(new QLabel(azione, this)),
      label2_(new QLabel(tasto, this)) {
    setWindowTitle(QString());
    // An options window realised inside the main window has its dialog there too.
    if (optionsWindow && !optionsWindow->isWindow()) RealiseInside(*this, *optionsWindow->window());
    Colora(this, kGiallo, kRossoScuro);

    const Twips t = Twips::Of(optionsWindow);
    QFont palatino(QStringLiteral("Palatino Linotype"));
    palatino.setBold(true);
    palatino.setPointSizeF(12);
    label1_->setFont(palatino);
    Colora(label1_, kGiallo, kRossoScuro);
    label1_->move(t.ToPixelsX(kLabel1Left), t.ToPixelsY(kLabel1Top));
    label1_->adjustSize();
    Colora(label2_, kGiallo, kRossoScuro);
    label2_->move(t.ToPixelsX(kLabel2Left), t.ToPixelsY(kLabel2Top));
    label2_->adjustSize();
    resize(t.ToPixelsX(kLarghezza), t.ToPixelsY(kAltezza));

    Form_Load(optionsWindow);
}

void frmKey::Form_Load(const QWidget* optionsWindow) {
    if (!optionsWindow) return;
    const Twips t = Twips::Of(optionsWindow);
    const QRect o(ScreenTopLeft(*optionsWindow), optionsWindow->frameGeometry().size());
    const std::int32_t left = CInt(t.FromPixelsX(o.x()));
    const std::int32_t top = CInt(t.FromPixelsY(o.y()));
    const std::int32_t width = CInt(t.FromPixelsX(o.width()));
    const std::int32_t height = CInt(t.FromPixelsY(o.height()));
    MoveToScreenPoint(*this, {t.ToPixelsX(left), t.ToPixelsY(top + height)});
    resize(t.ToPixelsX(width), this->height());
}

std::optional<std::int16_t> frmKey::Cattura() {
    exec();
    return catturato_;
}

bool frmKey::event(QEvent* event) {
    // Taken here, before QDialog and QWidget see them: Escape must not
    // reject, Tab must not move the focus, no shortcut may take a key.
    switch (event->type()) {
        case QEvent::ShortcutOverride:
            event->accept();
            return true;
        case QEvent::KeyPress:
            if (const auto code = VirtualKeyCode(*static_cast<QKeyEvent*>(event))) {
                Form_KeyDown(*code, 0);
            } else if (!chiuso_) {
                // No code to hand back: closed as the window system would.
                chiuso_ = true;
                reject();
            }
            return true;
        case QEvent::KeyRelease:
            return true;
        default:
            return QDialog::event(event);
    }
}

void frmKey::Form_KeyDown(std::int16_t KeyCode, std::int16_t /*Shift*/) {
    if (chiuso_) return;
    chiuso_ = true;
    catturato_ = KeyCode;
    accept();
}

}  // namespace tumblara
