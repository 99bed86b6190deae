#include "qt/Canvas.h"

#include <QEvent>
#include <QExposeEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWindow>
#include <algorithm>

#include "engine/Rounding.h"

namespace tumblara {

Canvas::Canvas(QWidget* parent) : QWidget(parent) {
    // Every pixel is painted from the images: no need to clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves over the bare background clear the menu highlight.
    setMouseTracking(true);
}

QRect Canvas::SpriteRect(const SpriteState& s) {
    return {CInt(s.x), CInt(s.y), s.size, s.size};
}

void Canvas::MoveSprite(int k, float left, float top) {
    SpriteState& s = Sprite(k);
    if (s.x == left && s.y == top) return;
    const QRect before = SpriteRect(s);
    s.x = left;
    s.y = top;
    if (s.picture == 0) return;
    update(before);
    update(SpriteRect(s));
}

void Canvas::SizeSprite(int k, int size) {
    SpriteState& s = Sprite(k);
    update(SpriteRect(s));
    s.size = size;
    update(SpriteRect(s));
}

void Canvas::SetSpritePicture(int k, int picture) {
    SpriteState& s = Sprite(k);
    if (s.picture == picture) return;
    s.picture = picture;
    update(SpriteRect(s));
}

int Canvas::SpriteAt(const QPoint& p) const {
    for (int k = 1; k <= 4; ++k) {
        const SpriteState& s = Sprite(k);
        if (s.picture != 0 && SpriteRect(s).contains(p)) return k;
    }
    return 0;
}

qreal Canvas::FollowWindow() {
    const qreal ratio = devicePixelRatioF();
    background_.SetWindow(size(), ratio);
    return ratio;
}

void Canvas::Draw(const QRect& area, int picture) {
    FollowWindow();
    if (retainedOn_)
        background_.DrawRetained(area, picture);
    else
        background_.DrawTransient(area, picture);
    update(area);
}

void Canvas::FillBlack(int x1, int y1, int x2, int y2) {
    Draw(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2))), 0);
}

void Canvas::PaintPicture(int picture, int left, int top, int size) {
    if (pictures_.Scaled(picture, size, devicePixelRatioF()) == nullptr) return;
    Draw(QRect(left, top, size, size), picture);
}

void Canvas::DiscardTransient(const QRegion& area) {
    if (background_.HasTransient()) update(background_.DiscardTransient(area));
}

void Canvas::SetFrame(const QRect& frame, const QColor& colour) {
    if (frame == frame_ && colour == frameColour_) return;
    update(frame_);
    frame_ = frame;
    frameColour_ = colour;
    update(frame_);
}

void Canvas::paintEvent(QPaintEvent* event) {
    const qreal ratio = FollowWindow();
    QPainter p(this);
    background_.Paint(p, event->region());
    // Most repaints are small: skip what lies outside them before the
    // painter's own clipping has to.
    const QRect bounds = event->rect();
    for (const SpriteState& s : sprites_) {
        if (!bounds.intersects(SpriteRect(s))) continue;
        const QImage* img = pictures_.Scaled(s.picture, s.size, ratio);
        if (img != nullptr) p.drawImage(SpriteRect(s).topLeft(), *img);
    }
    // The frame is one pixel wide: four thin fills land on exact pixels at
    // any device pixel ratio, where a pen would straddle them.
    if (frame_.isValid() && bounds.intersects(frame_)) {
        for (const QRect& lato : {QRect(frame_.left(), frame_.top(), frame_.width(), 1),
                                  QRect(frame_.left(), frame_.bottom(), frame_.width(), 1),
                                  QRect(frame_.left(), frame_.top(), 1, frame_.height()),
                                  QRect(frame_.right(), frame_.top(), 1, frame_.height())})
            if (bounds.intersects(lato)) p.fillRect(lato, frameColour_);
    }
}

void Canvas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FollowWindow();
}

void Canvas::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Exposures of the top-level window are the window system's repaints.
    if (QWindow* handle = window()->windowHandle()) handle->installEventFilter(this);
}

bool Canvas::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
        // The backing store redraws an exposed area without painting it
        // again; only this drops what was drawn on the window alone there.
        QT_WARNING_PUSH
        QT_WARNING_DISABLE_DEPRECATED
        const QRegion exposed = static_cast<QExposeEvent*>(event)->region();
        QT_WARNING_POP
        const QRegion area = exposed.isNull() ? QRegion(window()->rect()) : exposed;
        DiscardTransient(area.translated(-mapTo(window(), QPoint(0, 0))));
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace tumblara
