#pragma once
// A label that is shown and hidden many times a second, as the level banner
// blinks. Once first shown it stays shown to Qt and blinks by painting its
// text or not: a real hide and show asks the X server where the pointer is
// and tells assistive tools each time, which doubles what a blink costs.
// While blinked off it lets the pointer through, as a hidden label does.
// Blinked on, it paints a picture of itself made once per caption (when it
// is blinked on, as a label cannot render itself while it paints), since
// laying out and rasterising the text again on every blink was most of what
// a blink cost; and it repaints at once, not through a posted update.

#include <QImage>
#include <QObject>
#include <QString>

class QLabel;

namespace tumblara {

class BlinkingLabel : public QObject {
public:
    // The label's current visibility is where it starts.
    explicit BlinkingLabel(QLabel* label);

    void SetShown(bool shown);
    // Also false while Qt hides the label.
    bool Shown() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The label as its own paint event draws it, over a transparent ground.
    const QImage& Picture();
    bool PictureCurrent() const;

    QLabel* label_;
    bool shown_;
    QImage picture_;
    QString pictureText_;
    bool drawingPicture_ = false;
};

}  // namespace tumblara
