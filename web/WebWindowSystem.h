#pragma once
// The window system of the page: the main window is the page itself, the
// options window and the capture dialog are drawn inside it where the desktop
// places them (the shared windows drop the main window's input meanwhile). Elements are
// DOM nodes; the background is a canvas; the falling piece's blocks are small
// canvases; sound is Web Audio; the timers and the waits are the event pump's.

#include <array>
#include <string>
#include <vector>

#include "engine/Random.h"
#include "ui/WindowSystem.h"
#include "web/EventPump.h"

namespace tumblara {

class WebWindowSystem : public WindowSystem {
public:
    // Lays the page's root over the viewport, black, with nothing on it yet.
    WebWindowSystem();
    WebWindowSystem(const WebWindowSystem&) = delete;
    WebWindowSystem& operator=(const WebWindowSystem&) = delete;

    // Shows the main window: input starts, and its activation comes first.
    void ShowMain();
    // Whether the key at place `name` is the game's now.
    bool GameKey(std::string_view name, bool numLock) const;
    EventPump& Pump() { return pump_; }

    // The falling piece's blocks: small canvases over the background.
    float SpriteLeft(int k) const override { return Sprite(k).left; }
    float SpriteTop(int k) const override { return Sprite(k).top; }
    void SizeSprite(int k, int size) override;
    void MoveSprite(int k, float left, float top) override;
    void SetSpritePicture(int k, int picture) override;

    // The background canvas and the well's frame.
    void SetRetainedBackground(bool on) override { retained_ = on; }
    void FillBlack(int x1, int y1, int x2, int y2) override;
    void PaintPicture(int picture, int left, int top, int size) override;
    void SetFrame(PixelRect rect, Colour outline) override;

    // The windows: the main window is the page, the others are drawn in it.
    ScreenMetrics Screen() const override { return screen_; }
    void OpenWindow(FormId form, WindowEvents& events) override;
    void ShowModal(FormId form) override;
    void CloseWindow(FormId form) override;
    void MoveWindow(FormId form, PixelRect onScreen) override;
    PixelRect WindowRect(FormId form) const override { return Window(form).rect; }
    void SetWindowLook(FormId form, std::string_view title, Colour background) override;

    // Labels and the text box: nodes of the page.
    void SetText(ElementId element, std::string_view text) override;
    std::string Text(ElementId element) const override { return Element(element).text; }
    void MoveElement(ElementId element, PixelRect rect) override;
    void SetAutoSize(ElementId element, bool autoSize) override;
    void SetShown(ElementId element, bool shown) override;
    bool Shown(ElementId element) const override { return Element(element).shown; }
    void SetFont(ElementId element, const Font& font) override;
    void SetAlignment(ElementId element, Alignment alignment) override;
    void SetColours(ElementId element, Colour text, Colour background) override;

    // Time, chance, sound and the end: the page's clock, Web Audio, the pump.
    void SetTimerInterval(TimerId timer, std::int32_t milliseconds) override;
    std::chrono::milliseconds Monotonic() const override;
    float TimeOfDay() const override;
    void Randomize(float seed) override { random_.Seed(seed); }
    float Rnd() override { return random_.Next(); }
    void PlaySound(std::string_view fileName) override;
    void WaitForEvents(std::optional<std::chrono::milliseconds> timeout) override { pump_.Wait(timeout); }
    void Quit() override;

private:
    struct Form {
        bool open = false;
        int id = 0;  // the page's node: 0 is the root, the main window
        WindowEvents* events = nullptr;
        PixelRect rect;
    };
    struct Item {
        int id = 0;
        std::string text;
        bool shown = true;
        bool autoSize = false;
        PixelRect rect;
    };
    struct Block {
        int id = 0;
        float left = 0;
        float top = 0;
        int size = 0;
    };
    const Form& Window(FormId form) const { return forms_.at(static_cast<std::size_t>(form)); }
    Form& Window(FormId form) { return forms_.at(static_cast<std::size_t>(form)); }
    const Item& Element(ElementId e) const { return items_.at(static_cast<std::size_t>(e)); }
    Item& Element(ElementId e) { return items_.at(static_cast<std::size_t>(e)); }
    const Block& Sprite(int k) const { return sprites_.at(static_cast<std::size_t>(k - 1)); }
    Block& Sprite(int k) { return sprites_.at(static_cast<std::size_t>(k - 1)); }

    void Make(ElementId element, int kind, int parent);
    void Place(const Item& item);
    void Handle(const PageEvent& event);
    // The window that takes keys: the modal one on top, else the main window.
    WindowEvents* KeyTarget() const;

    EventPump pump_;
    ScreenMetrics screen_;
    std::array<Form, 3> forms_{};
    std::array<Item, kNumeroElementi> items_{};
    std::array<Block, 4> sprites_{};
    int frame_ = 0;
    std::vector<FormId> modal_;  // shown modal, bottom to top
    bool retained_ = false;
    std::array<char, 32> keyName_{};  // the page's key listener writes here
    bool active_ = false;
    Random random_;
};

}  // namespace tumblara
