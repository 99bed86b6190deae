#pragma once
// The recording stand-in for the window system, shared by the engine tests,
// the fuzzer and the engine benchmark. Ticks and queued input reach the game
// only inside WaitForEvents (and the outer loop RunFor), on a virtual clock,
// as the window system delivers them. The window and the retained background
// are kept as one picture index per cell, read at the cell's centre pixel.

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "engine/Random.h"
#include "engine/Regole.h"
#include "engine/WindowServices.h"

namespace tumblara::testing {

// The engine's services on a recording fake; `Services` is the interface it
// implements (the window system's for the shared windows' fake), the labels aside.
template <class Services>
class FakeWindowOf : public Services {
public:
    using Ms = std::chrono::milliseconds;
    static constexpr int kGridColumns = 48;  // the window in cells
    static constexpr int kGridRows = 34;

    explicit FakeWindowOf(int cella, double timeOfDay = 12 * 3600.0) : cella_(cella), todStart_(timeOfDay) {
        for (Sprite& s : sprites_) s.top = -2.0f * static_cast<float>(cella);  // above the window, as laid out at load
    }

    float SpriteLeft(int k) const override { return sprites_.at(Index(k)).left; }
    float SpriteTop(int k) const override { return sprites_.at(Index(k)).top; }
    void MoveSprite(int k, float x, float y) override { Touch(); sprites_.at(Index(k)) = {x, y, Picture(k)}; }
    void SetSpritePicture(int k, int picture) override { Touch(); sprites_.at(Index(k)).picture = picture; }
    void SetRetainedBackground(bool on) override { Touch(); retaining_ = on; }
    void FillBlack(int x1, int y1, int x2, int y2) override {
        Log([&] { return "fill " + Point(x1, y1) + " " + Point(x2, y2) + Retained(); });
        Cover(x1, y1, x2, y2, 0);
    }
    void PaintPicture(int picture, int left, int top, int size) override {
        Log([&] { return "paint " + std::to_string(picture) + " at " + Point(left, top) + Retained(); });
        Cover(left, top, left + size - 1, top + size - 1, picture);
    }
    void SetTimerInterval(TimerId timer, std::int32_t ms) override {
        Log([&] { return "timer" + std::to_string(Index(timer) + 1) + " " + std::to_string(ms); });
        timers_.at(Index(timer)) = {ms, now_ + Ms{ms}};
    }
    void PlaySound(std::string_view fileName) override { Log([&] { return "sound " + std::string(fileName); }); }
    float TimeOfDay() const override {
        return static_cast<float>(std::fmod(todStart_ + std::chrono::duration<double>(now_).count(), 86400.0));
    }
    Ms Monotonic() const override { return now_; }
    float Rnd() override {
        if (rnd.empty()) return random_.Next();
        const float u = rnd.front();
        rnd.pop_front();
        return u;
    }
    void Randomize(float seed) override { random_.Seed(seed); }
    void Quit() override { quit_ = true; }

    // Handles everything due at the next moment, or lets the timeout pass. A
    // wait that nothing can end, or that runs past RunFor's end, ends the run.
    void WaitForEvents(std::optional<Ms> timeout) override {
        const std::optional<Ms> next = NextDue();
        const bool event = next && (!timeout || *next <= now_ + *timeout);
        if (!event && !timeout && quit_) return;
        if (!event && !timeout) throw EndOfRun{};
        const Ms until = event ? *next : now_ + *timeout;
        if (end_ && until > *end_) throw EndOfRun{};
        now_ = until;
        while (event && NextDue() == next) DispatchOne();
    }

    // --- Driving it
    std::function<void()> onTimer1;
    std::function<void()> onTimer2;
    // Input for later: events due together run in the order queued, before a tick due then.
    void After(Ms delay, std::function<void()> action) { queue_.emplace(now_ + delay, std::move(action)); }
    // The program's outer loop for `duration`; false when a wait was still pending at the end (it is unwound).
    bool RunFor(Ms duration) {
        end_ = now_ + duration;
        try {
            while (NextDue() && *NextDue() <= *end_) DispatchOne();
            now_ = *end_;
        } catch (const EndOfRun&) {
            end_.reset();
            return false;
        }
        end_.reset();
        return true;
    }
    std::deque<float> rnd;                   // values Rnd returns before the seeded generator
    void Repaint() { window_ = retained_; }  // the window system repaints from the retained image
    bool record = true;                      // the benchmark and the fuzzer keep neither log nor cells

    // --- Looking at it
    std::int32_t Interval(TimerId timer) const { return timers_.at(Index(timer)).interval; }
    int Picture(int k) const { return sprites_.at(Index(k)).picture; }
    // `rows` rows of `columns` cells from (column, row), each ended by `end`: '.' black, digits pictures.
    std::string CellText(int column, int row, int columns, int rows, bool retained = false, char end = '/') const {
        std::string text;
        const auto& cells = retained ? retained_ : window_;
        for (int r = row; r < row + rows; ++r)
            for (int c = column; c <= column + columns; ++c)
                text += c == column + columns ? end : ".1234567"[cells[Index(r * kGridColumns + c)]];
        return text;
    }
    // Sounds, timers, fills and paints, in order: "sound Impact02.wav", "timer1 300", "fill 10,1 170,320 retained"...
    std::vector<std::string> log;
    int CountInLog(std::string_view prefix) const {
        return static_cast<int>(std::ranges::count_if(log, [&](std::string_view l) { return l.starts_with(prefix); }));
    }
    bool HasQuit() const { return quit_; }
    int callsAfterQuit = 0;

protected:
    template <class T> static std::size_t Index(T i) { return static_cast<std::size_t>(i); }
    void Touch() { callsAfterQuit += quit_; }

private:
    struct Sprite { float left = 0; float top = 0; int picture = 0; };
    struct Timer { std::int32_t interval = 0; Ms due{0}; };
    struct EndOfRun {};
    static std::string Point(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
    std::string Retained() const { return retaining_ ? " retained" : ""; }
    template <class Line> void Log(Line line) { Touch(); if (record) log.push_back(line()); }  // built only when kept

    // Sets every cell whose centre pixel lies in the rectangle.
    void Cover(int x1, int y1, int x2, int y2, int picture) {
        for (std::size_t i = 0; record && i < window_.size(); ++i) {
            const int x = static_cast<int>(i % kGridColumns) * cella_ + cella_ / 2;
            const int y = static_cast<int>(i / kGridColumns) * cella_ + cella_ / 2;
            if (x < x1 || x > x2 || y < y1 || y > y2) continue;
            window_[i] = static_cast<std::int8_t>(picture);
            if (retaining_) retained_[i] = window_[i];
        }
    }
    std::optional<Ms> NextDue() const {
        if (quit_) return std::nullopt;  // the program has ended: nothing more arrives
        std::optional<Ms> next = queue_.empty() ? std::nullopt : std::optional(queue_.begin()->first);
        for (const Timer& t : timers_)
            if (t.interval > 0 && (!next || t.due < *next)) next = t.due;
        return next;
    }
    void DispatchOne() {
        now_ = std::max(now_, *NextDue());
        if (!queue_.empty() && queue_.begin()->first <= now_) return queue_.extract(queue_.begin()).mapped()();
        Timer& t = timers_[timers_[0].interval > 0 && timers_[0].due <= now_ ? 0 : 1];
        t.due = now_ + Ms{t.interval};
        if (const auto& tick = &t == &timers_[0] ? onTimer1 : onTimer2) tick();
    }

    int cella_;
    double todStart_;
    std::array<Sprite, 5> sprites_{};
    std::array<Timer, 2> timers_{{{kIntervalloAvvio, Ms{kIntervalloAvvio}}, {}}};
    std::multimap<Ms, std::function<void()>> queue_;
    std::array<std::int8_t, kGridColumns * kGridRows> retained_{};
    std::array<std::int8_t, kGridColumns * kGridRows> window_{};
    bool retaining_ = false;
    bool quit_ = false;
    Ms now_{0};
    std::optional<Ms> end_;
    Random random_;
};

// The engine's fake: its labels too.
class FakeWindow : public FakeWindowOf<WindowServices> {
public:
    using FakeWindowOf::FakeWindowOf;
    void SetCaption(LabelId label, std::string_view text) override { Touch(); captions_.at(Index(label)) = text; }
    std::string Caption(LabelId label) const override { return captions_.at(Index(label)); }
    void SetVisible(LabelId label, bool visible) override { Touch(); visible_.at(Index(label)) = visible; }
    bool IsVisible(LabelId label) const override { return visible_.at(Index(label)); }

private:
    std::array<std::string, 7> captions_{};
    std::array<bool, 7> visible_{};
};

}  // namespace tumblara::testing
