#include "tests/support/FakeWindow.h"

#include <algorithm>
#include <cmath>

namespace tumblara::testing {

FakeWindow::FakeWindow(int cella)
    : cella_(cella),
      width_(48 * cella),
      height_(34 * cella),
      retained_(static_cast<std::size_t>(width_ * height_), 0),
      window_(retained_) {
    labels_[LabelId::Menu0] = {"Nuova Partita", true};
    labels_[LabelId::Menu1] = {"Pausa", true};
    labels_[LabelId::Menu2] = {"Esci", true};
    labels_[LabelId::Menu3] = {"Opzioni", true};
    labels_[LabelId::Menu4] = {"Info", true};
    labels_[LabelId::Label2] = {"Score : 0", true};
    labels_[LabelId::Label3] = {"", false};
    for (int k = 1; k <= 4; ++k) sprites_[static_cast<std::size_t>(k)] = {0.0f, -2.0f * static_cast<float>(cella), 0};
    // The gravity timer runs from the window's creation.
    timer1_ = {300, Ms{300}};
}

float FakeWindow::SpriteLeft(int k) const { return sprites_.at(static_cast<std::size_t>(k)).x; }
float FakeWindow::SpriteTop(int k) const { return sprites_.at(static_cast<std::size_t>(k)).y; }

void FakeWindow::MoveSprite(int k, float left, float top) {
    auto& s = sprites_.at(static_cast<std::size_t>(k));
    s.x = left;
    s.y = top;
}

void FakeWindow::SetSpritePicture(int k, int picture) {
    sprites_.at(static_cast<std::size_t>(k)).picture = picture;
}

void FakeWindow::SetRetainedBackground(bool on) {
    retainedOn_ = on;
    log.push_back(on ? "retained on" : "retained off");
}

void FakeWindow::Fill(int x1, int y1, int x2, int y2, std::int8_t value) {
    const int left = std::max(0, std::min(x1, x2));
    const int right = std::min(width_ - 1, std::max(x1, x2));
    const int top = std::max(0, std::min(y1, y2));
    const int bottom = std::min(height_ - 1, std::max(y1, y2));
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            const auto i = static_cast<std::size_t>(y * width_ + x);
            window_[i] = value;
            if (retainedOn_) retained_[i] = value;
        }
    }
}

void FakeWindow::FillBlack(int x1, int y1, int x2, int y2) {
    log.push_back("fill " + std::to_string(x1) + "," + std::to_string(y1) + " " + std::to_string(x2) + "," +
                  std::to_string(y2) + (retainedOn_ ? " retained" : " window"));
    Fill(x1, y1, x2, y2, 0);
}

void FakeWindow::PaintPicture(int picture, int left, int top, int size) {
    log.push_back("paint " + std::to_string(picture) + " at " + std::to_string(left) + "," + std::to_string(top) +
                  (retainedOn_ ? " retained" : " window"));
    Fill(left, top, left + size - 1, top + size - 1, static_cast<std::int8_t>(picture));
}

void FakeWindow::SetTimerInterval(TimerId timer, std::int32_t milliseconds) {
    log.push_back(std::string(timer == TimerId::Timer1 ? "timer1 " : "timer2 ") + std::to_string(milliseconds));
    Timer& t = TimerOf(timer);
    t.interval = milliseconds;
    t.due = now_ + Ms{milliseconds};
}

std::int32_t FakeWindow::Interval(TimerId timer) const {
    return timer == TimerId::Timer1 ? timer1_.interval : timer2_.interval;
}

void FakeWindow::SetCaption(LabelId label, std::string_view caption) {
    log.push_back("caption " + std::to_string(static_cast<int>(label)) + " " + std::string(caption));
    labels_[label].caption = caption;
}

std::string FakeWindow::Caption(LabelId label) const { return labels_.at(label).caption; }

void FakeWindow::SetVisible(LabelId label, bool visible) { labels_[label].visible = visible; }
bool FakeWindow::IsVisible(LabelId label) const { return labels_.at(label).visible; }

void FakeWindow::PlaySound(std::string_view fileName) { log.push_back("sound " + std::string(fileName)); }

float FakeWindow::TimeOfDay() const {
    return static_cast<float>(std::fmod(todStart_ + Seconds(), 86400.0));
}

float FakeWindow::Rnd() {
    if (!scripted_.empty()) {
        const float u = scripted_.front();
        scripted_.pop_front();
        return u;
    }
    return random_.Next();
}

void FakeWindow::Randomize(float seed) {
    log.push_back("randomize");
    random_.Seed(seed);
}

void FakeWindow::ScriptRnd(std::initializer_list<float> values) {
    scripted_.insert(scripted_.end(), values.begin(), values.end());
}

void FakeWindow::At(Ms at, std::function<void()> action) { scheduled_.emplace(at, std::move(action)); }

std::optional<FakeWindow::Ms> FakeWindow::NextDue() const {
    std::optional<Ms> next;
    auto consider = [&](Ms t) {
        if (!next || t < *next) next = t;
    };
    if (!scheduled_.empty()) consider(scheduled_.begin()->first);
    if (!quit_ && timer1_.interval > 0) consider(timer1_.due);
    if (!quit_ && timer2_.interval > 0) consider(timer2_.due);
    return next;
}

// Handles the earliest due event. Scheduled input goes before a tick due at
// the same moment.
void FakeWindow::DispatchOne() {
    const Ms at = *NextDue();
    now_ = std::max(now_, at);
    if (!scheduled_.empty() && scheduled_.begin()->first == at) {
        auto action = std::move(scheduled_.begin()->second);
        scheduled_.erase(scheduled_.begin());
        action();
        return;
    }
    for (Timer* t : {&timer1_, &timer2_}) {
        if (t->interval > 0 && t->due == at) {
            t->due = at + Ms{t->interval};
            const auto& handler = (t == &timer1_) ? onTimer1 : onTimer2;
            if (handler) handler();
            return;
        }
    }
}

void FakeWindow::WaitForEvents(std::optional<Ms> timeout) {
    ++waitCalls;
    const std::optional<Ms> limit = timeout ? std::optional<Ms>(now_ + *timeout) : std::nullopt;
    const std::optional<Ms> next = NextDue();
    if (!next && !limit) throw std::logic_error("a wait that nothing can ever end");
    if (next && (!limit || *next <= *limit)) {
        if (horizon_ && *next > *horizon_) throw HorizonReached{};
        // Everything due at the same moment is handled in one go, as a real
        // event queue hands over all pending events.
        const Ms batch = *next;
        if (!horizon_ && batch > Ms{3600 * 1000})
            throw std::logic_error("an hour of virtual time passed outside RunFor");
        while (NextDue() && *NextDue() == batch) DispatchOne();
        return;
    }
    if (horizon_ && *limit > *horizon_) throw HorizonReached{};
    now_ = *limit;
    if (!horizon_ && now_ > Ms{3600 * 1000})
        throw std::logic_error("an hour of virtual time passed outside RunFor");
}

bool FakeWindow::RunFor(Ms duration) {
    const Ms end = now_ + duration;
    const auto saved = horizon_;
    horizon_ = end;
    bool completed = true;
    try {
        while (!quit_) {
            const auto next = NextDue();
            if (!next || *next > end) break;
            DispatchOne();
        }
    } catch (const HorizonReached&) {
        completed = false;
    }
    horizon_ = saved;
    if (now_ < end) now_ = end;
    return completed;
}

void FakeWindow::Quit() {
    log.push_back("quit");
    quit_ = true;
}

int FakeWindow::Sample(const std::vector<std::int8_t>& raster, int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return -1;
    return raster[static_cast<std::size_t>(y * width_ + x)];
}

std::vector<std::string> FakeWindow::ShownWell() const {
    std::vector<std::string> rows;
    for (int r = 1; r <= 31; ++r) {
        std::string row;
        for (int c = 1; c <= 16; ++c) {
            const int v = ShownAt(c * cella_ + cella_ / 2, r * cella_ + cella_ / 2);
            row += v == 0 ? '.' : static_cast<char>('0' + v);
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::pair<int, int>> FakeWindow::SpriteCells() const {
    std::vector<std::pair<int, int>> cells;
    for (int k = 1; k <= 4; ++k) {
        const auto& s = sprites_[static_cast<std::size_t>(k)];
        cells.emplace_back(static_cast<int>(std::nearbyint(s.x / static_cast<float>(cella_))),
                           static_cast<int>(std::nearbyint(s.y / static_cast<float>(cella_))));
    }
    return cells;
}

int FakeWindow::CountInLog(const std::string& prefix) const {
    return static_cast<int>(std::count_if(log.begin(), log.end(), [&](const std::string& line) {
        return line.rfind(prefix, 0) == 0;
    }));
}

}  // namespace tumblara::testing
