#pragma once
// A lean, event-driven stand-in for the window system, made for long random
// runs: no raster and no text log, only what the game can observe (sprites,
// labels, timers, the clocks, the random source) and a queue of input events
// that is dispatched, with the timer ticks, inside WaitForEvents and Run.
// Every effect the game asks for is shown to a watcher first, so that a
// broken drawing call or an effect after the end of the program is caught at
// the moment it happens.

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "engine/Random.h"
#include "engine/WindowServices.h"

namespace tumblara::fuzz {

// What the window lets a watcher see while the game uses it.
class WindowWatcher {
public:
    virtual ~WindowWatcher() = default;
    virtual void OnSound(std::string_view fileName) = 0;
    virtual void OnCaption(LabelId label, std::string_view caption) = 0;
    virtual void OnPaint(int picture, int left, int top, int size, bool retained) = 0;
    virtual void OnFill(int x1, int y1, int x2, int y2, bool retained) = 0;
    // Any call from the game after Quit.
    virtual void OnCallAfterQuit(std::string_view what) = 0;
    // A sprite index outside 1..4, or a wait that lets no time pass, forever.
    virtual void OnMisuse(std::string_view what) = 0;
};

class FuzzWindow : public WindowServices {
public:
    using Ms = std::chrono::milliseconds;

    FuzzWindow(int cella, float timeOfDayAtStart, WindowWatcher& watcher);

    // --- WindowServices
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
    Ms Monotonic() const override { return now_; }
    float Rnd() override;
    void Randomize(float seed) override;
    void WaitForEvents(std::optional<Ms> timeout) override;
    void Quit() override;

    // --- Driving it
    std::function<void()> onTimer1;
    std::function<void()> onTimer2;
    // Queues an input event for virtual time `at`; events due together run in
    // the order they were queued, before a tick due at the same moment.
    void At(Ms at, std::function<void()> action);
    // The program's outer event loop, up to virtual time `end`. A wait still
    // pending at `end` is unwound and the run stops there.
    void Run(Ms end);
    // Values Rnd returns next, before the seeded generator.
    void PushRnd(float u) { scripted_.push_back(u); }

    // --- Looking at it
    Ms Now() const { return now_; }
    std::int32_t Interval(TimerId timer) const;
    bool Quitting() const { return quit_; }
    int Picture(int k) const;
    int Cella() const { return cella_; }
    // Events and ticks handled so far.
    long Dispatched() const { return dispatched_; }

private:
    struct Sprite { float x = 0; float y = 0; int picture = 0; };
    struct Label { std::string caption; bool visible = true; };
    struct Timer { std::int32_t interval = 0; Ms due{0}; };
    struct EndOfRun {};

    std::optional<Ms> NextDue() const;
    void DispatchOne();
    const Sprite& SpriteAt(int k) const;
    Timer& TimerOf(TimerId id) { return id == TimerId::Timer1 ? timer1_ : timer2_; }
    void Effect(std::string_view what);

    int cella_;
    double todStart_;
    WindowWatcher& watcher_;
    std::array<Sprite, 5> sprites_{};
    std::array<Label, 7> labels_{};
    bool retained_ = false;
    Timer timer1_;
    Timer timer2_;
    std::multimap<Ms, std::function<void()>> queue_;
    Ms now_{0};
    std::optional<Ms> end_;
    std::deque<float> scripted_;
    Random random_;
    bool quit_ = false;
    long dispatched_ = 0;
    int idleWaits_ = 0;
};

}  // namespace tumblara::fuzz
