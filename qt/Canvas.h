#pragma once
// The main window's background: the retained drawing, the transient drawing
// made while the retained drawing is switched off, the well's frame and the
// four sprites of the falling piece, painted in that order. The labels are
// sibling widgets stacked above it.

#include <QRect>
#include <QWidget>
#include <array>

#include "qt/Background.h"
#include "qt/BlockPictures.h"

namespace tumblara {

class Canvas : public QWidget {
public:
    explicit Canvas(QWidget* parent);

    // Sprites, k = 1..4: position in window pixels, held as given.
    float SpriteLeft(int k) const { return Sprite(k).x; }
    float SpriteTop(int k) const { return Sprite(k).y; }
    void MoveSprite(int k, float left, float top);
    void SizeSprite(int k, int size);
    void SetSpritePicture(int k, int picture);
    // The sprite showing a picture at a window pixel, 1..4, or 0.
    int SpriteAt(const QPoint& p) const;

    // Where background drawing goes: the retained drawing (kept until painted
    // over) or the window only (gone at the window system's next repaint).
    void SetRetained(bool on) { retainedOn_ = on; }
    bool Retained() const { return retainedOn_; }
    // Corners included.
    void FillBlack(int x1, int y1, int x2, int y2);
    void PaintPicture(int picture, int left, int top, int size);
    // The window system repaints `area` of the window: the transient drawing
    // there is lost.
    void DiscardTransient(const QRegion& area);
    bool HasTransient() const { return background_.HasTransient(); }

    // The one-pixel outline around the well.
    void SetFrame(const QRect& frame, const QColor& colour);
    QRect Frame() const { return frame_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct SpriteState {
        float x = 0;
        float y = 0;
        int size = 0;
        int picture = 0;
    };
    const SpriteState& Sprite(int k) const { return sprites_.at(static_cast<std::size_t>(k - 1)); }
    SpriteState& Sprite(int k) { return sprites_.at(static_cast<std::size_t>(k - 1)); }
    static QRect SpriteRect(const SpriteState& s);
    // The background follows the widget's size and device pixel ratio,
    // which is returned.
    qreal FollowWindow();
    void Draw(const QRect& area, int picture);

    bool retainedOn_ = false;
    std::array<SpriteState, 4> sprites_{};
    BlockPictures pictures_;
    Background background_{pictures_};
    QRect frame_;
    QColor frameColour_;
};

}  // namespace tumblara
