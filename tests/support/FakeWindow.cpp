#include "tests/support/FakeWindow.h"

namespace tumblara::testing {
namespace {

std::string Point(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }

}  // namespace

FakeWindow::FakeWindow(int cella, double timeOfDay) : cella_(cella), todStart_(timeOfDay) {
    // As the window is laid out at load: sprites above it, gravity ticking, the banner hidden.
    for (Sprite& s : sprites_) s.top = -2.0f * static_cast<float>(cella);
    visible_.fill(true);
    visible_[Index(LabelId::Label3)] = false;
    captions_[Index(LabelId::Menu1)] = "Pausa";
    timers_[0] = {300, Ms{300}};
}

void FakeWindow::FillBlack(int x1, int y1, int x2, int y2) {
    Log([&] { return "fill " + Point(x1, y1) + " " + Point(x2, y2) + (retaining_ ? " retained" : ""); });
    Cover(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2), 0);
}

void FakeWindow::PaintPicture(int picture, int left, int top, int size) {
    Log([&] { return "paint " + std::to_string(picture) + " at " + Point(left, top) + (retaining_ ? " retained" : ""); });
    Cover(left, top, left + size - 1, top + size - 1, picture);
}

// Sets every cell whose centre pixel lies in the rectangle.
void FakeWindow::Cover(int x1, int y1, int x2, int y2, int picture) {
    const int half = cella_ / 2;
    auto first = [&](int lo) { return lo <= half ? 0 : (lo - half + cella_ - 1) / cella_; };
    auto last = [&](int hi, int count) { return hi < half ? -1 : std::min(count - 1, (hi - half) / cella_); };
    for (int r = first(y1); r <= last(y2, kRows); ++r)
        for (int c = first(x1); c <= last(x2, kColumns); ++c) {
            window_[Index(r * kColumns + c)] = static_cast<std::int8_t>(picture);
            if (retaining_) retained_[Index(r * kColumns + c)] = static_cast<std::int8_t>(picture);
        }
}

std::string FakeWindow::CellText(int column, int row, int columns, int rows, bool retained) const {
    std::string text;
    for (int r = row; r < row + rows; ++r) {
        text += r > row ? "/" : "";
        for (int c = column; c < column + columns; ++c)
            text += static_cast<char>('0' + (retained ? retained_ : window_)[Index(r * kColumns + c)]);
    }
    std::replace(text.begin(), text.end(), '0', '.');
    return text;
}

std::optional<FakeWindow::Ms> FakeWindow::NextDue() const {
    if (quit_) return std::nullopt;  // the program has ended: nothing more arrives
    std::optional<Ms> next;
    if (!queue_.empty()) next = queue_.begin()->first;
    for (const Timer& t : timers_)
        if (t.interval > 0 && (!next || t.due < *next)) next = t.due;
    return next;
}

void FakeWindow::DispatchOne() {
    now_ = std::max(now_, *NextDue());
    ++dispatched;
    if (!queue_.empty() && queue_.begin()->first <= now_) {
        auto action = std::move(queue_.begin()->second);
        queue_.erase(queue_.begin());
        return action();
    }
    const std::size_t i = timers_[0].interval > 0 && timers_[0].due <= now_ ? 0 : 1;
    timers_[i].due = now_ + Ms{timers_[i].interval};
    if (const auto& tick = i == 0 ? onTimer1 : onTimer2) tick();
}

void FakeWindow::WaitForEvents(std::optional<Ms> timeout) {
    const Ms before = now_;
    const long handled = dispatched;
    const std::optional<Ms> next = NextDue();
    if (next && (!timeout || *next <= now_ + *timeout)) {
        if (end_ && *next > *end_) throw EndOfRun{};
        while (NextDue() == next) DispatchOne();  // everything due at that moment
    } else if (timeout) {
        if (end_ && now_ + *timeout > *end_) throw EndOfRun{};
        now_ += *timeout;
    } else if (!quit_) {
        misuse = misuse.empty() ? "a wait that nothing can end" : misuse;
        throw EndOfRun{};
    }
    // A wait may return with nothing handled when its time ran out, but not a thousand times in a row.
    idleWaits_ = now_ == before && dispatched == handled ? idleWaits_ + 1 : 0;
    if (idleWaits_ > 1000) {
        misuse = misuse.empty() ? "a wait that spins" : misuse;
        throw EndOfRun{};
    }
}

bool FakeWindow::RunFor(Ms duration) {
    end_ = now_ + duration;
    bool unwound = false;
    try {
        while (NextDue() && *NextDue() <= *end_) DispatchOne();
        now_ = std::max(now_, *end_);
    } catch (const EndOfRun&) {
        unwound = true;
    }
    end_.reset();
    return !unwound;
}

}  // namespace tumblara::testing
