#include "tests/support/FakeWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace tumblara::testing {
namespace {

std::string Point(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
const char* Where(bool retained) { return retained ? " retained" : " window"; }

}  // namespace

FakeWindow::FakeWindow(int cella)
    : FuzzWindow(cella, 0.0f, *this),
      cella_(cella),
      width_(48 * cella),
      height_(34 * cella),
      retained_(static_cast<std::size_t>(width_ * height_), 0),
      window_(retained_) {}

void FakeWindow::SetRetainedBackground(bool on) {
    log.push_back(on ? "retained on" : "retained off");
    FuzzWindow::SetRetainedBackground(on);
}

void FakeWindow::SetTimerInterval(TimerId timer, std::int32_t milliseconds) {
    log.push_back(std::string(timer == TimerId::Timer1 ? "timer1 " : "timer2 ") + std::to_string(milliseconds));
    FuzzWindow::SetTimerInterval(timer, milliseconds);
}

float FakeWindow::TimeOfDay() const { return static_cast<float>(std::fmod(todStart_ + Seconds(), 86400.0)); }

void FakeWindow::WaitForEvents(std::optional<Ms> timeout) {
    // A procedure called straight from a test runs its waits outside RunFor.
    if (!running_ && Now() > Ms{3600 * 1000}) throw std::logic_error("an hour of virtual time passed outside RunFor");
    try {
        FuzzWindow::WaitForEvents(timeout);
    } catch (...) {
        unwound_ = true;
        throw;
    }
}

bool FakeWindow::RunFor(Ms duration) {
    const Ms end = Now() + duration;
    At(end, [] {});  // the clock reaches the end even when nothing else is due there
    unwound_ = false;
    running_ = true;
    Run(end);
    running_ = false;
    return !unwound_;
}

void FakeWindow::Quit() {
    log.push_back("quit");
    FuzzWindow::Quit();
}

void FakeWindow::OnCaption(LabelId label, std::string_view caption) {
    log.push_back("caption " + std::to_string(static_cast<int>(label)) + " " + std::string(caption));
}

void FakeWindow::OnPaint(int picture, int left, int top, int size, bool retained) {
    log.push_back("paint " + std::to_string(picture) + " at " + Point(left, top) + Where(retained));
    Fill(left, top, left + size - 1, top + size - 1, static_cast<std::int8_t>(picture), retained);
}

void FakeWindow::OnFill(int x1, int y1, int x2, int y2, bool retained) {
    log.push_back("fill " + Point(x1, y1) + " " + Point(x2, y2) + Where(retained));
    Fill(x1, y1, x2, y2, 0, retained);
}

void FakeWindow::OnMisuse(std::string_view what) { ADD_FAILURE() << what; }

void FakeWindow::Fill(int x1, int y1, int x2, int y2, std::int8_t value, bool retained) {
    for (int y = std::max(0, std::min(y1, y2)); y <= std::min(height_ - 1, std::max(y1, y2)); ++y) {
        for (int x = std::max(0, std::min(x1, x2)); x <= std::min(width_ - 1, std::max(x1, x2)); ++x) {
            const auto i = static_cast<std::size_t>(y * width_ + x);
            window_[i] = value;
            if (retained) retained_[i] = value;
        }
    }
}

std::vector<std::string> FakeWindow::CellText(int column, int row, int columns, int rows, bool retained) const {
    std::vector<std::string> text;
    for (int r = row; r < row + rows; ++r) {
        text.emplace_back();
        for (int c = column; c < column + columns; ++c) {
            const int v = (retained ? retained_ : window_)[static_cast<std::size_t>(
                (r * cella_ + cella_ / 2) * width_ + c * cella_ + cella_ / 2)];
            text.back() += v == 0 ? '.' : static_cast<char>('0' + v);
        }
    }
    return text;
}

int FakeWindow::CountInLog(const std::string& prefix) const {
    return static_cast<int>(
        std::count_if(log.begin(), log.end(), [&](const std::string& line) { return line.rfind(prefix, 0) == 0; }));
}

}  // namespace tumblara::testing
