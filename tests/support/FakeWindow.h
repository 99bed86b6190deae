#pragma once
// The recording stand-in for the window system, shared by the engine tests,
// the fuzzer and the engine benchmark. Ticks and queued input reach the game
// only inside WaitForEvents (and the outer loop RunFor), on a virtual clock,
// as the window system delivers them. The window and the retained background
// are kept as one picture index per cell, read at the cell's centre pixel.

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/Random.h"
#include "engine/WindowServices.h"

namespace tumblara::testing {

class FakeWindow : public WindowServices {
public:
    using Ms = std::chrono::milliseconds;
    static constexpr int kColumns = 48;  // the rasters' size in cells
    static constexpr int kRows = 34;

    explicit FakeWindow(int cella, double timeOfDay = 12 * 3600.0);

    float SpriteLeft(int k) const override { return sprites_.at(Index(k)).left; }
    float SpriteTop(int k) const override { return sprites_.at(Index(k)).top; }
    void MoveSprite(int k, float left, float top) override { Touch(), sprites_.at(Index(k)).left = left, sprites_.at(Index(k)).top = top; }
    void SetSpritePicture(int k, int picture) override { Touch(), sprites_.at(Index(k)).picture = picture; }
    void SetRetainedBackground(bool on) override { Log([on] { return std::string(on ? "retained on" : "retained off"); }), retaining_ = on; }
    void FillBlack(int x1, int y1, int x2, int y2) override;
    void PaintPicture(int picture, int left, int top, int size) override;
    void SetTimerInterval(TimerId timer, std::int32_t ms) override {
        Log([&] { return "timer" + std::to_string(Index(timer) + 1) + " " + std::to_string(ms); });
        timers_.at(Index(timer)) = {ms, now_ + Ms{ms}};
    }
    void SetCaption(LabelId label, std::string_view caption) override {
        Log([&] { return "caption " + std::string(caption); }), captions_.at(Index(label)) = caption;
    }
    std::string Caption(LabelId label) const override { return captions_.at(Index(label)); }
    void SetVisible(LabelId label, bool visible) override { Touch(), visible_.at(Index(label)) = visible; }
    bool IsVisible(LabelId label) const override { return visible_.at(Index(label)); }
    void PlaySound(std::string_view fileName) override { Log([&] { return "sound " + std::string(fileName); }); }
    float TimeOfDay() const override { return static_cast<float>(std::fmod(todStart_ + static_cast<double>(now_.count()) / 1000.0, 86400.0)); }
    Ms Monotonic() const override { return now_; }
    float Rnd() override { if (rnd.empty()) return random_.Next(); const float u = rnd.front(); rnd.pop_front(); return u; }
    void Randomize(float seed) override { random_.Seed(seed); }
    void WaitForEvents(std::optional<Ms> timeout) override;
    void Quit() override { Log([] { return std::string("quit"); }), quit_ = true; }

    // --- Driving it
    std::function<void()> onTimer1;
    std::function<void()> onTimer2;
    // Input for later: events due together run in the order queued, before a tick due then.
    void After(Ms delay, std::function<void()> action) { queue_.emplace(now_ + delay, std::move(action)); }
    // The program's outer event loop for `duration`; false when a wait was still pending at the end (it is unwound).
    bool RunFor(Ms duration);
    std::deque<float> rnd;                   // values Rnd returns before the seeded generator
    void Repaint() { window_ = retained_; }  // the window system repaints from the retained image
    bool record = true;                      // the benchmark turns the log off

    // --- Looking at it
    Ms Now() const { return now_; }
    std::int32_t Interval(TimerId timer) const { return timers_.at(Index(timer)).interval; }
    int Picture(int k) const { return sprites_.at(Index(k)).picture; }
    bool Quitting() const { return quit_; }
    // `rows` rows of `columns` cells from (column, row), '/' between rows: '.' black, digits pictures.
    std::string CellText(int column, int row, int columns, int rows, bool retained = false) const;
    // Every effect but sprites and visibility, in order: "sound Impact02.wav", "timer1 300", "fill 10,1 170,320 retained"...
    std::vector<std::string> log;
    int CountInLog(std::string_view prefix) const {
        return static_cast<int>(std::count_if(log.begin(), log.end(), [&](const std::string& l) { return l.starts_with(prefix); }));
    }
    void ClearLog() { log.clear(); }
    std::string misuse;   // the first one: a call after Quit, a wait that spins or that nothing can end
    long dispatched = 0;  // events and ticks handled

private:
    struct Sprite { float left = 0; float top = 0; int picture = 0; };
    struct Timer { std::int32_t interval = 0; Ms due{0}; };
    struct EndOfRun {};
    template <class T> static std::size_t Index(T i) { return static_cast<std::size_t>(i); }
    void Touch() { if (quit_ && misuse.empty()) misuse = "a call after quit"; }
    template <class Line> void Log(Line line) { Touch(); if (record) log.push_back(line()); }  // built only when kept
    void Cover(int x1, int y1, int x2, int y2, int picture);
    std::optional<Ms> NextDue() const;
    void DispatchOne();

    int cella_;
    double todStart_;
    std::array<Sprite, 5> sprites_{};
    std::array<std::string, 7> captions_{};
    std::array<bool, 7> visible_{};
    std::array<Timer, 2> timers_{};
    std::multimap<Ms, std::function<void()>> queue_;
    std::array<std::int8_t, kColumns * kRows> retained_{}, window_{};
    bool retaining_ = false;
    bool quit_ = false;
    int idleWaits_ = 0;
    Ms now_{0};
    std::optional<Ms> end_;
    Random random_;
};

}  // namespace tumblara::testing
