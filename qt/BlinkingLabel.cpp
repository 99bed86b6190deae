#include "qt/BlinkingLabel.h"

#include <QEvent>
#include <QLabel>

namespace tumblara {

BlinkingLabel::BlinkingLabel(QLabel* label) : QObject(label), label_(label), shown_(!label->isHidden()) {
    label_->installEventFilter(this);
}

void BlinkingLabel::SetShown(bool shown) {
    if (shown == Shown()) return;
    shown_ = shown;
    label_->setAttribute(Qt::WA_TransparentForMouseEvents, !shown);
    if (shown && label_->isHidden())
        label_->show();
    else
        label_->update();
}

bool BlinkingLabel::Shown() const { return shown_ && !label_->isHidden(); }

bool BlinkingLabel::eventFilter(QObject* watched, QEvent* event) {
    // Blinked off, the label paints nothing and the background shows.
    return watched == label_ && event->type() == QEvent::Paint && !shown_;
}

}  // namespace tumblara
