#pragma once
// A recording stand-in for the window system. It keeps what a real window
// would show (sprites, labels, the retained background and the window as a
// raster of picture indices), logs every effect in order, and runs a virtual
// clock: timers tick and scheduled input arrives only inside WaitForEvents or
// RunFor, exactly when their time comes.

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/Random.h"
#include "engine/WindowServices.h"

namespace tumblara::testing {

// Thrown by a wait that would run past the end of RunFor: it unwinds the
// nested procedure and hands control back to the test.
struct HorizonReached {};

class FakeWindow : public WindowServices {
public:
    using Ms = std::chrono::milliseconds;

    // `cella` sizes the raster: 48 cells across, 34 down.
    explicit FakeWindow(int cella);

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
    // Who receives the ticks.
    std::function<void()> onTimer1;
    std::function<void()> onTimer2;
    // Runs `action` as an input event at virtual time `at` (or `after` from now).
    void At(Ms at, std::function<void()> action);
    void After(Ms after, std::function<void()> action) { At(now_ + after, std::move(action)); }
    // The outer event loop: handles everything due within `duration`. A wait
    // still pending at the end is unwound; returns false in that case.
    bool RunFor(Ms duration);
    // Values Rnd returns next, before falling back to the seeded generator.
    void ScriptRnd(std::initializer_list<float> values);
    void SetTimeOfDay(float secondsSinceMidnight) { todStart_ = secondsSinceMidnight - Seconds(); }
    // The window system repaints the window from the retained background.
    void Repaint() { window_ = retained_; }

    // --- Looking at it
    Ms Now() const { return now_; }
    std::int32_t Interval(TimerId timer) const;
    bool Quitting() const { return quit_; }
    int Picture(int k) const { return sprites_.at(static_cast<std::size_t>(k)).picture; }
    // Picture index shown at a window pixel: 0 is black, -1 outside the raster.
    int ShownAt(int x, int y) const { return Sample(window_, x, y); }
    int RetainedAt(int x, int y) const { return Sample(retained_, x, y); }
    // Rows 1..31 of the well as shown on the window: '.' black, digits pictures.
    std::vector<std::string> ShownWell() const;
    // The cells the sprites stand on, "column,row" for k = 1..4.
    std::vector<std::pair<int, int>> SpriteCells() const;
    // Every effect in order: "sound Impact02.wav", "timer1 300", ...
    std::vector<std::string> log;
    int CountInLog(const std::string& prefix) const;
    void ClearLog() { log.clear(); }
    int waitCalls = 0;

private:
    struct Sprite { float x = 0; float y = 0; int picture = 0; };
    struct Label { std::string caption; bool visible = true; };
    struct Timer { std::int32_t interval = 0; Ms due{0}; };

    double Seconds() const { return static_cast<double>(now_.count()) / 1000.0; }
    int Sample(const std::vector<std::int8_t>& raster, int x, int y) const;
    void Fill(int x1, int y1, int x2, int y2, std::int8_t value);
    std::optional<Ms> NextDue() const;
    void DispatchOne();
    Timer& TimerOf(TimerId id) { return id == TimerId::Timer1 ? timer1_ : timer2_; }

    int cella_;
    int width_;
    int height_;
    std::vector<std::int8_t> retained_;
    std::vector<std::int8_t> window_;
    bool retainedOn_ = false;
    std::array<Sprite, 5> sprites_{};
    std::map<LabelId, Label> labels_;
    Timer timer1_;
    Timer timer2_;
    std::multimap<Ms, std::function<void()>> scheduled_;
    Ms now_{0};
    std::optional<Ms> horizon_;
    double todStart_ = 12 * 3600.0;
    std::deque<float> scripted_;
    Random random_;
    bool quit_ = false;
};

}  // namespace tumblara::testing
