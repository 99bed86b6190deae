#pragma once
// The game's window services on the page: the falling piece's blocks, the
// background canvas, the labels, the timers and the wait of the event pump,
// the clock, the random source and Web Audio.

#include <array>
#include <string>

#include "engine/Random.h"
#include "engine/WindowServices.h"
#include "web/EventPump.h"

namespace tumblara {

class WebServices : public WindowServices {
public:
    // `labels`: the page's elements for Menu0..Menu4, Label2, Label3 in the
    // order of LabelId; `sprites` those of the four blocks.
    WebServices(EventPump& pump, std::array<int, 7> labels, std::array<int, 4> sprites);

    float SpriteLeft(int k) const override { return Sprite(k).left; }
    float SpriteTop(int k) const override { return Sprite(k).top; }
    void MoveSprite(int k, float left, float top) override;
    void SetSpritePicture(int k, int picture) override;
    void SetRetainedBackground(bool on) override { retained_ = on; }
    void FillBlack(int x1, int y1, int x2, int y2) override;
    void PaintPicture(int picture, int left, int top, int size) override;
    void SetTimerInterval(TimerId timer, std::int32_t milliseconds) override;
    void SetCaption(LabelId label, std::string_view caption) override;
    std::string Caption(LabelId label) const override { return Label(label).caption; }
    void SetVisible(LabelId label, bool visible) override;
    bool IsVisible(LabelId label) const override { return Label(label).visible; }
    void PlaySound(std::string_view fileName) override;
    float TimeOfDay() const override;
    std::chrono::milliseconds Monotonic() const override;
    float Rnd() override { return random_.Next(); }
    void Randomize(float seed) override { random_.Seed(seed); }
    void WaitForEvents(std::optional<std::chrono::milliseconds> timeout) override { pump_.Wait(timeout); }
    void Quit() override;

private:
    struct Block {
        int id = 0;
        float left = 0;
        float top = 0;
    };
    struct Text {
        int id = 0;
        std::string caption;
        bool visible = true;
    };
    const Block& Sprite(int k) const { return sprites_.at(static_cast<std::size_t>(k - 1)); }
    const Text& Label(LabelId id) const { return labels_.at(static_cast<std::size_t>(id)); }

    EventPump& pump_;
    std::array<Text, 7> labels_{};
    std::array<Block, 4> sprites_{};
    bool retained_ = false;
    Random random_;
};

}  // namespace tumblara
