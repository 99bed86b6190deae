#include "fuzz/FuzzWindow.h"

#include <cmath>

namespace tumblara::fuzz {
namespace {

constexpr std::size_t Index(LabelId label) { return static_cast<std::size_t>(label); }

// A wait may legitimately return without handling anything when its timeout
// ran out; this many in a row without the clock moving is a spinning wait.
constexpr int kMaxIdleWaits = 10000;

}  // namespace

FuzzWindow::FuzzWindow(int cella, float timeOfDayAtStart, WindowWatcher& watcher)
    : cella_(cella), todStart_(timeOfDayAtStart), watcher_(watcher) {
    labels_[Index(LabelId::Menu0)] = {"Nuova Partita", true};
    labels_[Index(LabelId::Menu1)] = {"Pausa", true};
    labels_[Index(LabelId::Menu2)] = {"Esci", true};
    labels_[Index(LabelId::Menu3)] = {"Opzioni", true};
    labels_[Index(LabelId::Menu4)] = {"Info", true};
    labels_[Index(LabelId::Label2)] = {"Score : 0", true};
    labels_[Index(LabelId::Label3)] = {"", false};
    // Parked above the window, as the window lays them out at load.
    for (int k = 1; k <= 4; ++k)
        sprites_[static_cast<std::size_t>(k)] = {0.0f, -2.0f * static_cast<float>(cella), 0};
    // The gravity timer runs from the window's creation.
    timer1_ = {300, Ms{300}};
}

void FuzzWindow::Effect(std::string_view what) {
    if (quit_) watcher_.OnCallAfterQuit(what);
}

const FuzzWindow::Sprite& FuzzWindow::SpriteAt(int k) const {
    if (k < 1 || k > 4) {
        watcher_.OnMisuse("sprite index " + std::to_string(k));
        return sprites_[0];
    }
    return sprites_[static_cast<std::size_t>(k)];
}

float FuzzWindow::SpriteLeft(int k) const { return SpriteAt(k).x; }
float FuzzWindow::SpriteTop(int k) const { return SpriteAt(k).y; }
int FuzzWindow::Picture(int k) const { return SpriteAt(k).picture; }

void FuzzWindow::MoveSprite(int k, float left, float top) {
    Effect("MoveSprite");
    SpriteAt(k);
    if (k < 1 || k > 4) return;
    sprites_[static_cast<std::size_t>(k)].x = left;
    sprites_[static_cast<std::size_t>(k)].y = top;
}

void FuzzWindow::SetSpritePicture(int k, int picture) {
    Effect("SetSpritePicture");
    SpriteAt(k);
    if (k < 1 || k > 4) return;
    sprites_[static_cast<std::size_t>(k)].picture = picture;
}

void FuzzWindow::SetRetainedBackground(bool on) {
    Effect("SetRetainedBackground");
    retained_ = on;
}

void FuzzWindow::FillBlack(int x1, int y1, int x2, int y2) {
    Effect("FillBlack");
    watcher_.OnFill(x1, y1, x2, y2, retained_);
}

void FuzzWindow::PaintPicture(int picture, int left, int top, int size) {
    Effect("PaintPicture");
    watcher_.OnPaint(picture, left, top, size, retained_);
}

void FuzzWindow::SetTimerInterval(TimerId timer, std::int32_t milliseconds) {
    Effect("SetTimerInterval");
    Timer& t = TimerOf(timer);
    t.interval = milliseconds;
    t.due = now_ + Ms{milliseconds};
}

std::int32_t FuzzWindow::Interval(TimerId timer) const {
    return timer == TimerId::Timer1 ? timer1_.interval : timer2_.interval;
}

void FuzzWindow::SetCaption(LabelId label, std::string_view caption) {
    Effect("SetCaption");
    labels_[Index(label)].caption = caption;
    watcher_.OnCaption(label, caption);
}

std::string FuzzWindow::Caption(LabelId label) const { return labels_[Index(label)].caption; }

void FuzzWindow::SetVisible(LabelId label, bool visible) {
    Effect("SetVisible");
    labels_[Index(label)].visible = visible;
}

bool FuzzWindow::IsVisible(LabelId label) const { return labels_[Index(label)].visible; }

void FuzzWindow::PlaySound(std::string_view fileName) {
    Effect("PlaySound");
    watcher_.OnSound(fileName);
}

float FuzzWindow::TimeOfDay() const {
    const double seconds = todStart_ + static_cast<double>(now_.count()) / 1000.0;
    return static_cast<float>(std::fmod(seconds, 86400.0));
}

float FuzzWindow::Rnd() {
    if (!scripted_.empty()) {
        const float u = scripted_.front();
        scripted_.pop_front();
        return u;
    }
    return random_.Next();
}

void FuzzWindow::Randomize(float seed) { random_.Seed(seed); }

void FuzzWindow::At(Ms at, std::function<void()> action) { queue_.emplace(at, std::move(action)); }

std::optional<FuzzWindow::Ms> FuzzWindow::NextDue() const {
    if (quit_) return std::nullopt;  // the program has ended: nothing more arrives
    std::optional<Ms> next;
    auto consider = [&](Ms t) {
        if (!next || t < *next) next = t;
    };
    if (!queue_.empty()) consider(queue_.begin()->first);
    if (timer1_.interval > 0) consider(timer1_.due);
    if (timer2_.interval > 0) consider(timer2_.due);
    return next;
}

void FuzzWindow::DispatchOne() {
    const Ms at = *NextDue();
    if (at > now_) now_ = at;
    ++dispatched_;
    if (!queue_.empty() && queue_.begin()->first == at) {
        auto action = std::move(queue_.begin()->second);
        queue_.erase(queue_.begin());
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

void FuzzWindow::WaitForEvents(std::optional<Ms> timeout) {
    const Ms before = now_;
    const long handled = dispatched_;
    const std::optional<Ms> limit = timeout ? std::optional<Ms>(now_ + *timeout) : std::nullopt;
    const std::optional<Ms> next = NextDue();
    if (next && (!limit || *next <= *limit)) {
        if (end_ && *next > *end_) throw EndOfRun{};
        const Ms batch = *next;
        while (NextDue() && *NextDue() == batch) DispatchOne();
    } else if (limit) {
        if (end_ && *limit > *end_) throw EndOfRun{};
        if (*limit > now_) now_ = *limit;
    } else if (!quit_) {
        watcher_.OnMisuse("a wait that nothing can end");
        throw EndOfRun{};
    }
    if (now_ == before && dispatched_ == handled) {
        if (++idleWaits_ > kMaxIdleWaits) {
            watcher_.OnMisuse("a wait spins without time passing");
            throw EndOfRun{};
        }
    } else {
        idleWaits_ = 0;
    }
}

void FuzzWindow::Run(Ms end) {
    end_ = end;
    try {
        while (!quit_) {
            const auto next = NextDue();
            if (!next || *next > end) break;
            DispatchOne();
        }
    } catch (const EndOfRun&) {
    }
    end_.reset();
}

void FuzzWindow::Quit() { quit_ = true; }

}  // namespace tumblara::fuzz
