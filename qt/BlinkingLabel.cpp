#include "qt/BlinkingLabel.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>

namespace tumblara {

BlinkingLabel::BlinkingLabel(QLabel* label) : QObject(label), label_(label), shown_(!label->isHidden()) {
    label_->installEventFilter(this);
}

void BlinkingLabel::SetShown(bool shown) {
    if (shown == Shown()) return;
    shown_ = shown;
    label_->setAttribute(Qt::WA_TransparentForMouseEvents, !shown);
    // Made here, outside any paint: a label cannot render itself while it paints.
    if (shown) Picture();
    if (shown && label_->isHidden())
        label_->show();
    else
        label_->repaint();
}

bool BlinkingLabel::Shown() const { return shown_ && !label_->isHidden(); }

bool BlinkingLabel::PictureCurrent() const {
    const qreal ratio = label_->devicePixelRatioF();
    return !picture_.isNull() && picture_.size() == label_->size() * ratio && picture_.devicePixelRatio() == ratio &&
           pictureText_ == label_->text();
}

const QImage& BlinkingLabel::Picture() {
    if (PictureCurrent()) return picture_;
    const qreal ratio = label_->devicePixelRatioF();
    const QSize size = label_->size() * ratio;
    picture_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
    picture_.setDevicePixelRatio(ratio);
    picture_.fill(Qt::transparent);
    pictureText_ = label_->text();
    drawingPicture_ = true;
    label_->render(&picture_, QPoint(), QRegion(), QWidget::RenderFlags());
    drawingPicture_ = false;
    return picture_;
}

bool BlinkingLabel::eventFilter(QObject* watched, QEvent* event) {
    if (watched != label_ || drawingPicture_) return false;
    const QEvent::Type type = event->type();
    if (type == QEvent::FontChange || type == QEvent::PaletteChange || type == QEvent::StyleChange)
        picture_ = QImage();
    if (type != QEvent::Paint) return false;
    // Blinked off, the label paints nothing and the background shows. With a
    // caption newer than the picture, the label paints itself this once.
    if (!shown_) return true;
    if (!PictureCurrent()) return false;
    QPainter(label_).drawImage(0, 0, picture_);
    return true;
}

}  // namespace tumblara
