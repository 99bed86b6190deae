#pragma once
// The window system on Qt: the three windows as widgets, their labels, the
// main window's canvas with its sprites, two precise timers, the clock, the
// random source, the sound and the event pump. The events of the windows go
// to the shared windows through QtInput.

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>

#include "engine/Random.h"
#include "qt/InWindowDialog.h"
#include "ui/WindowSystem.h"
#include "ui/sound/Sound.h"

class QLabel;

namespace tumblara {

class BlinkingLabel;
class Canvas;
class QtInput;
class X11Platform;

class QtWindowSystem : public WindowSystem {
public:
    // Needs the application object. Dialogs open inside the main window where
    // the platform cannot place windows.
    QtWindowSystem();
    ~QtWindowSystem() override;
    QtWindowSystem(const QtWindowSystem&) = delete;
    QtWindowSystem& operator=(const QtWindowSystem&) = delete;

    float SpriteLeft(int k) const override;
    float SpriteTop(int k) const override;
    void MoveSprite(int k, float left, float top) override;
    void SetSpritePicture(int k, int picture) override;
    void SetRetainedBackground(bool on) override;
    void FillBlack(int x1, int y1, int x2, int y2) override;
    void PaintPicture(int picture, int left, int top, int size) override;
    void SetTimerInterval(TimerId timer, std::int32_t milliseconds) override;
    void PlaySound(std::string_view fileName) override;
    float TimeOfDay() const override;
    std::chrono::milliseconds Monotonic() const override;
    float Rnd() override;
    void Randomize(float seed) override;
    void WaitForEvents(std::optional<std::chrono::milliseconds> timeout) override;
    void Quit() override;

    void OpenWindow(FormId form, WindowEvents& events) override;
    void SetWindowLook(FormId form, std::string_view title, Colour background) override;
    void MoveWindow(FormId form, PixelRect onScreen) override;
    PixelRect WindowRect(FormId form) const override;
    void ShowModal(FormId form) override;
    void CloseWindow(FormId form) override;
    void SetFont(ElementId element, const Font& font) override;
    void SetColours(ElementId element, Colour text, Colour background) override;
    void SetAlignment(ElementId element, Alignment alignment) override;
    void SetAutoSize(ElementId element, bool autoSize) override;
    void SetText(ElementId element, std::string_view text) override;
    std::string Text(ElementId element) const override;
    void SetShown(ElementId element, bool shown) override;
    bool Shown(ElementId element) const override;
    void MoveElement(ElementId element, PixelRect rect) override;
    void SizeSprite(int k, int size) override;
    void SetFrame(PixelRect rect, Colour outline) override;
    ScreenMetrics Screen() const override;

    // The main window, covering the screen.
    void ShowMain();
    // Where the options window and the capture dialog open from now on.
    void SetPlacement(DialogPlacement placement) { placement_ = placement; }

    // For the events and the tests: the window of `form` and its events while
    // it is open and the program goes on, its widgets, the canvas.
    WindowEvents* Receiver(FormId form) const;
    QWidget* Window(FormId form) const { return forms_.at(Index(form)).window; }
    QWidget* Widget(ElementId element) const { return elements_.at(Index(element)); }
    Canvas* canvas() const { return canvas_; }
    bool Quitting() const { return quitting_; }
    // The running interval, 0 while stopped.
    std::int32_t Interval(TimerId timer) const;

private:
    struct Form {
        QPointer<QWidget> window;
        WindowEvents* events = nullptr;
        bool modal = false;    // inside its ShowModal
        bool closed = false;   // closed there: destroyed once it returns
    };
    template <class T> static std::size_t Index(T i) { return static_cast<std::size_t>(i); }
    QTimer& TimerOf(TimerId id) { return id == TimerId::Timer1 ? timer1_ : timer2_; }
    const QTimer& TimerOf(TimerId id) const { return id == TimerId::Timer1 ? timer1_ : timer2_; }
    QLabel* Label(ElementId element) const;
    QPoint Origin() const;
    void OpenMain(WindowEvents& events);
    void OpenDialog(FormId form, WindowEvents& events);
    QLabel* NewLabel(ElementId element, QWidget* parent);
    void Destroy(FormId form);

    std::array<Form, 3> forms_{};
    std::array<QWidget*, kNumeroElementi> elements_{};
    std::array<bool, kNumeroElementi> autoSize_{};
    std::array<bool, kNumeroElementi> centred_{};
    Canvas* canvas_ = nullptr;
    BlinkingLabel* banner_ = nullptr;  // Label3, owned by the label
    std::unique_ptr<QtInput> input_;
    std::unique_ptr<X11Platform> x11_;
    QTimer timer1_;
    QTimer timer2_;
    Random random_;
    SoundPlayer sound_;  // the wave files beside the program
    DialogPlacement placement_;
    bool quitting_ = false;
};

}  // namespace tumblara
