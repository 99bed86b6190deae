#pragma once
// The window services of the game, provided by Qt: the background canvas and
// its sprites, the labels, two precise timers, the clock, the random source,
// the sound and the event pump.

#include <QTimer>
#include <array>
#include <functional>

#include "engine/Random.h"
#include "engine/WindowServices.h"
#include "ui/sound/Sound.h"

class QLabel;

namespace tumblara {

class BlinkingLabel;
class Canvas;

class QtServices : public WindowServices {
public:
    // labels: Menu0..Menu4, Label2, Label3, in the order of LabelId.
    QtServices(Canvas& canvas, std::array<QLabel*, 7> labels);
    ~QtServices() override;
    QtServices(const QtServices&) = delete;
    QtServices& operator=(const QtServices&) = delete;

    float SpriteLeft(int k) const override;
    float SpriteTop(int k) const override;
    void MoveSprite(int k, float left, float top) override;
    void SetSpritePicture(int k, int picture) override;
    void SetRetainedBackground(bool on) override;
    void FillBlack(int x1, int y1, int x2, int y2) override;
    void PaintPicture(int picture, int left, int top, int size) override;
    void SetTimerInterval(TimerId timer, std::int32_t milliseconds) override;
    void SetCaption(LabelId label, std::string_view caption) override;
    std::string Caption(LabelId label) const override;
    void SetVisible(LabelId label, bool visible) override;
    bool IsVisible(LabelId label) const override;
    void PlaySound(std::string_view fileName) override;
    float TimeOfDay() const override;
    std::chrono::milliseconds Monotonic() const override;
    float Rnd() override;
    void Randomize(float seed) override;
    void WaitForEvents(std::optional<std::chrono::milliseconds> timeout) override;
    void Quit() override;

    // Who receives the ticks; nothing is called once the program is ending.
    void OnTick(TimerId timer, std::function<void()> handler);
    bool Quitting() const { return quitting_; }
    // The running interval, 0 while stopped.
    std::int32_t Interval(TimerId timer) const;

private:
    QTimer& TimerOf(TimerId id) { return id == TimerId::Timer1 ? timer1_ : timer2_; }
    const QTimer& TimerOf(TimerId id) const { return id == TimerId::Timer1 ? timer1_ : timer2_; }
    QLabel* Label(LabelId id) const { return labels_.at(static_cast<std::size_t>(id)); }

    Canvas& canvas_;
    std::array<QLabel*, 7> labels_;
    BlinkingLabel* banner_;  // Label3, owned by the label
    QTimer timer1_;
    QTimer timer2_;
    std::function<void()> onTimer1_;
    std::function<void()> onTimer2_;
    Random random_;
    SoundPlayer sound_;  // the wave files beside the program
    bool quitting_ = false;
};

}  // namespace tumblara
