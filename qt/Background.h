#pragma once
// The window's background as the game draws it: black fills and block
// pictures, kept as a list of drawings rather than as a window-sized image,
// so a full-screen window costs no full-screen pictures in memory.
// - The retained drawing persists; black is the background itself, so a
//   black fill only hides what it covers.
// - The transient drawing, made while the retained drawing is off, lies
//   above it until the window system repaints the window.
// Every drawing is opaque: a newer one hides the part of an older one it
// covers, and a drawing hidden entirely is forgotten.

#include <QRect>
#include <QRegion>
#include <vector>

class QPainter;

namespace tumblara {

class BlockPictures;

class Background {
public:
    explicit Background(BlockPictures& pictures) : pictures_(pictures) {}

    // The window's size in logical pixels and its device pixel ratio. A new
    // size crops the retained drawing to the window and drops the transient
    // drawing.
    void SetWindow(const QSize& size, qreal ratio);

    // `picture` 1..7 is a block picture scaled to the area, which is then
    // square; 0 is a black fill. Both clip to the window.
    void DrawRetained(const QRect& area, int picture);
    void DrawTransient(const QRect& area, int picture);

    // Drops the transient drawing within `region`; answers what it showed
    // there, the area to repaint.
    QRegion DiscardTransient(const QRegion& region);
    bool HasTransient() const { return !transient_.empty(); }

    // Black, the retained drawing, then the transient drawing, over `region`.
    void Paint(QPainter& p, const QRegion& region);

private:
    struct Drawing {
        QRect area;
        int picture;
        QRegion shown;  // what newer drawings left visible, within the window
    };
    using Drawings = std::vector<Drawing>;

    static void Hide(Drawings& drawings, const QRect& area);
    void PaintAll(QPainter& p, const Drawings& drawings, const QRegion& region);

    BlockPictures& pictures_;
    QRect window_;
    qreal ratio_ = 1.0;
    Drawings retained_;
    Drawings transient_;
};

}  // namespace tumblara
