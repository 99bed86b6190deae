#pragma once
// A window that keeps only what the game reads back (sprite positions, the
// banner's visibility) and a virtual clock. Nothing is logged or drawn, so a
// benchmark run through it measures the game's own work.

#include <array>
#include <chrono>
#include <cstdint>

#include "engine/Random.h"
#include "engine/WindowServices.h"

namespace tumblara::bench {

class LeanWindow final : public WindowServices {
public:
    using Ms = std::chrono::milliseconds;

    float SpriteLeft(int k) const override { return sprites_[Index(k)].left; }
    float SpriteTop(int k) const override { return sprites_[Index(k)].top; }
    void MoveSprite(int k, float left, float top) override;
    void SetSpritePicture(int, int) override {}

    void SetRetainedBackground(bool) override {}
    void FillBlack(int, int, int, int) override {}
    void PaintPicture(int, int, int, int) override {}
    void SetTimerInterval(TimerId, std::int32_t) override {}

    void SetCaption(LabelId, std::string_view) override {}
    std::string Caption(LabelId) const override { return {}; }
    void SetVisible(LabelId label, bool visible) override { visible_[Index(label)] = visible; }
    bool IsVisible(LabelId label) const override { return visible_[Index(label)]; }

    void PlaySound(std::string_view) override {}

    float TimeOfDay() const override;
    Ms Monotonic() const override { return now_; }
    float Rnd() override { return random_.Next(); }
    void Randomize(float seed) override { random_.Seed(seed); }

    // A wait with a deadline jumps the clock to it. A wait without one is the
    // game waiting for the player (game over, pause): it is counted, and the
    // flag `resume` points at is raised so the wait ends as a click would end it.
    void WaitForEvents(std::optional<Ms> timeout) override;
    void Quit() override {}

    // Raised by waits for the player; normally the game's InGioco.
    bool* resume = nullptr;
    // Waits for the player so far: the first one means the game has ended.
    int waitsForPlayer = 0;
    // Pieces that have come to rest: each landing parks the sprites above the window.
    int landings = 0;

private:
    struct Sprite { float left = 0; float top = 0; };
    static std::size_t Index(int k) { return static_cast<std::size_t>(k); }
    static std::size_t Index(LabelId label) { return static_cast<std::size_t>(label); }

    std::array<Sprite, 5> sprites_{};
    std::array<bool, 7> visible_{};
    Ms now_{0};
    Random random_;
};

}  // namespace tumblara::bench
