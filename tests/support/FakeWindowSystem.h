#pragma once
// The recording stand-in for the whole window system, for the shared windows'
// tests: on the engine's fake window, which keeps the sprites, the background, the
// timers, the clock and the event pump; beside it each window and element
// keeps its last look, text, visibility and place. A modal window's show
// handles events on the fake's clock until the window is closed.

#include <map>

#include "tests/support/FakeWindow.h"
#include "ui/frmGame.h"

namespace tumblara::testing {

class FakeWindowSystem : public FakeWindowOf<WindowSystem> {
public:
    // A 480 x 360 screen: cells of 10 pixels, as the fake window draws them.
    FakeWindowSystem() : FakeWindowOf(10) {
        onTimer1 = [this] { Tick(TimerId::Timer1); };
        onTimer2 = [this] { Tick(TimerId::Timer2); };
    }

    void OpenWindow(FormId form, WindowEvents& events) override { forms_[form].events = &events; }
    void SetWindowLook(FormId, std::string_view, Colour) override {}
    void MoveWindow(FormId form, PixelRect onScreen) override { forms_[form].rect = onScreen; }
    PixelRect WindowRect(FormId form) const override { return forms_.at(form).rect; }
    void ShowModal(FormId form) override { while (Receiver(form) != nullptr) WaitForEvents(std::nullopt); }
    void CloseWindow(FormId form) override { forms_[form].events = nullptr; }
    void SetFont(ElementId, const Font&) override {}
    void SetColours(ElementId element, Colour text, Colour background) override {
        elements_[element].colours = {text, background};
    }
    void SetAlignment(ElementId, Alignment) override {}
    void SetAutoSize(ElementId, bool) override {}
    void SetText(ElementId element, std::string_view text) override { elements_[element].text = text; }
    std::string Text(ElementId element) const override { return elements_.at(element).text; }
    void SetShown(ElementId element, bool shown) override { elements_[element].shown = shown; }
    bool Shown(ElementId element) const override { return elements_.at(element).shown; }
    void MoveElement(ElementId element, PixelRect rect) override { elements_[element].rect = rect; }
    void SizeSprite(int, int) override {}
    void SetFrame(PixelRect, Colour) override {}
    ScreenMetrics Screen() const override { return {480, 360, 15.0, 15.0}; }

    // --- Driving it, as the platform does: null once the window is closed or the program ended.
    // A window never opened has no receiver to ask for: asking throws.
    WindowEvents* Receiver(FormId form) const { return HasQuit() ? nullptr : forms_.at(form).events; }
    // --- Looking at it
    std::pair<Colour, Colour> Colours(ElementId element) const { return elements_.at(element).colours; }
    PixelRect Rect(ElementId element) const { return elements_.at(element).rect; }

private:
    struct Form { WindowEvents* events = nullptr; PixelRect rect; };
    struct Element { std::string text; std::pair<Colour, Colour> colours; bool shown = true; PixelRect rect; };
    void Tick(TimerId timer) { if (WindowEvents* e = Receiver(FormId::frmGame)) e->Tick(timer); }

    std::map<FormId, Form> forms_;
    std::map<ElementId, Element> elements_;
};

// The program as a platform makes it: the main window made and loaded, not
// yet activated. Events reach it as the platform sends them.
template <class System>
struct ProgramOn {
    System sys;
    frmGame form{sys};
    GameState& state = form.game().state;

    WindowEvents& To(FormId form) { return *sys.Receiver(form); }
    // A left click: the button goes down on the element and comes up on it.
    void Click(FormId form, ElementId element) {
        To(form).MouseDown(element);
        To(form).Click(element);
    }
    void At(int ms, std::function<void()> action) { sys.After(std::chrono::milliseconds{ms}, std::move(action)); }
    bool RunFor(int ms) { return sys.RunFor(std::chrono::milliseconds{ms}); }
    // A T pointing up in play, block 1 in column 6 and row 10, held still.
    void PlayATInColumnSix() {
        state.InGioco = true;
        state.TipoPezzo = 7;
        sys.SetTimerInterval(TimerId::Timer1, 0);
        sys.MoveSprite(1, 6.0f * state.Cella, 10.0f * state.Cella);
        form.game().Posiziona(false);
    }
    int Column() const { return static_cast<int>(sys.SpriteLeft(1)) / state.Cella; }
};
using ProgramOnFake = ProgramOn<FakeWindowSystem>;

}  // namespace tumblara::testing
