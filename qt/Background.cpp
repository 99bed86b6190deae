#include "qt/Background.h"

#include <QPainter>

#include "qt/BlockPictures.h"

namespace tumblara {

void Background::SetWindow(const QSize& size, qreal ratio) {
    ratio_ = ratio;
    const QRect window(QPoint(0, 0), size);
    if (window == window_) return;
    window_ = window;
    // As with a window repaint: what was drawn on the window alone is gone.
    transient_.clear();
    std::erase_if(retained_, [&](Drawing& d) {
        d.shown &= window;
        return d.shown.isEmpty();
    });
}

void Background::Hide(Drawings& drawings, const QRect& area) {
    std::erase_if(drawings, [&](Drawing& d) {
        if (!d.shown.boundingRect().intersects(area)) return false;
        d.shown -= area;
        return d.shown.isEmpty();
    });
}

void Background::DrawRetained(const QRect& area, int picture) {
    const QRect clipped = area & window_;
    if (clipped.isEmpty()) return;
    Hide(retained_, clipped);
    Hide(transient_, clipped);
    if (picture != 0) retained_.push_back(Drawing{area, picture, QRegion(clipped)});
}

void Background::DrawTransient(const QRect& area, int picture) {
    const QRect clipped = area & window_;
    if (clipped.isEmpty()) return;
    Hide(transient_, clipped);
    transient_.push_back(Drawing{area, picture, QRegion(clipped)});
}

QRegion Background::DiscardTransient(const QRegion& region) {
    QRegion dropped;
    std::erase_if(transient_, [&](Drawing& d) {
        dropped += d.shown & region;
        d.shown -= region;
        return d.shown.isEmpty();
    });
    return dropped;
}

void Background::Paint(QPainter& p, const QRegion& region) {
    for (const QRect& r : region) p.fillRect(r, Qt::black);
    PaintAll(p, retained_, region);
    PaintAll(p, transient_, region);
}

void Background::PaintAll(QPainter& p, const Drawings& drawings, const QRegion& region) {
    const QRect bounds = region.boundingRect();
    for (const Drawing& d : drawings) {
        if (!d.shown.boundingRect().intersects(bounds)) continue;
        const QRegion visible = d.shown & region;
        if (visible.isEmpty()) continue;
        if (d.picture == 0) {
            for (const QRect& r : visible) p.fillRect(r, Qt::black);
            continue;
        }
        const QImage* img = pictures_.Scaled(d.picture, d.area.width(), ratio_);
        if (visible.rectCount() == 1 && visible.boundingRect() == d.area) {
            p.drawImage(d.area.topLeft(), *img);
            continue;
        }
        for (const QRect& r : visible) {
            const QRect from = r.translated(-d.area.topLeft());
            p.drawImage(r, *img, QRectF(from.x() * ratio_, from.y() * ratio_, from.width() * ratio_, from.height() * ratio_));
        }
    }
}

}  // namespace tumblara
