#pragma once
// A recording stand-in for the window system: the fuzzer's window (sprites,
// labels, timers and a virtual clock whose ticks and scheduled input arrive
// only inside waits) that also keeps what a real window would show, the
// retained background and the window as rasters of picture indices, and logs
// every effect in order.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "fuzz/FuzzWindow.h"

namespace tumblara::testing {

class FakeWindow : private fuzz::WindowWatcher, public fuzz::FuzzWindow {
public:
    using Ms = std::chrono::milliseconds;

    // `cella` sizes the rasters: 48 cells across, 34 down.
    explicit FakeWindow(int cella);

    void SetRetainedBackground(bool on) override;
    void SetTimerInterval(TimerId timer, std::int32_t milliseconds) override;
    float TimeOfDay() const override;
    void WaitForEvents(std::optional<Ms> timeout) override;
    void Quit() override;

    // --- Driving it
    void After(Ms after, std::function<void()> action) { At(Now() + after, std::move(action)); }
    // The outer event loop: handles everything due within `duration`. A wait
    // still pending at the end is unwound; returns false in that case.
    bool RunFor(Ms duration);
    void ScriptRnd(std::initializer_list<float> values) {
        for (const float u : values) PushRnd(u);
    }
    void SetTimeOfDay(float secondsSinceMidnight) { todStart_ = secondsSinceMidnight - Seconds(); }
    // The window system repaints the window from the retained background.
    void Repaint() { window_ = retained_; }

    // --- Looking at it
    // `rows` rows of `columns` cells from cell (column, row), as shown or as
    // retained: '.' black, digits pictures.
    std::vector<std::string> CellText(int column, int row, int columns, int rows, bool retained = false) const;
    std::vector<std::string> ShownWell() const { return CellText(1, 1, 16, 31); }
    // Every effect in order: "sound Impact02.wav", "timer1 300", ...
    std::vector<std::string> log;
    int CountInLog(const std::string& prefix) const;
    void ClearLog() { log.clear(); }

private:
    void OnSound(std::string_view fileName) override { log.push_back("sound " + std::string(fileName)); }
    void OnCaption(LabelId label, std::string_view caption) override;
    void OnPaint(int picture, int left, int top, int size, bool retained) override;
    void OnFill(int x1, int y1, int x2, int y2, bool retained) override;
    void OnCallAfterQuit(std::string_view what) override { log.push_back(std::string(what) + " after quit"); }
    void OnMisuse(std::string_view what) override;

    double Seconds() const { return static_cast<double>(Now().count()) / 1000.0; }
    void Fill(int x1, int y1, int x2, int y2, std::int8_t value, bool retained);

    int cella_;
    int width_;
    int height_;
    std::vector<std::int8_t> retained_;
    std::vector<std::int8_t> window_;
    double todStart_ = 12 * 3600.0;
    bool running_ = false;
    bool unwound_ = false;
};

}  // namespace tumblara::testing
