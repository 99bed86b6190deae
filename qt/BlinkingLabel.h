#pragma once
// A label that is shown and hidden many times a second, as the level banner
// blinks. Once first shown it stays shown to Qt and blinks by painting its
// text or not: a real hide and show asks the X server where the pointer is
// and tells assistive tools each time, which doubles what a blink costs.
// While blinked off it lets the pointer through, as a hidden label does.

#include <QObject>

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
    QLabel* label_;
    bool shown_;
};

}  // namespace tumblara
