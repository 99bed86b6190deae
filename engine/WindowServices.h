#pragma once
// Everything the game needs from the window system, and nothing more.
//
// The engine reaches the screen, the timers, the clock, the random source,
// the sound and the event pump only through this interface. The main window
// implements it with Qt; the tests implement it with a recording fake.
//
// Contract:
// - Coordinates are the main window's pixels, origin at its top-left corner.
// - Sprites are the four images of the falling piece, k = 1..4; they are drawn
//   above the background and keep the position last given.
// - Background drawing goes into the retained background while it is switched
//   on, and then persists; while it is off it reaches only the window, and the
//   window's next repaint by the window system restores the retained image.
//   It is off when the window is created.
// - A timer interval of 0 stops the timer; any other value makes it tick at
//   that period. Ticks arrive as calls to the game's tick handlers.
// - WaitForEvents handles pending events (ticks, clicks, keys), blocking until
//   at least one has been handled or `timeout` has elapsed. It never spins.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tumblara {

enum class TimerId { Timer1, Timer2 };

// Labels the game touches: the five menu labels, the score, the banner.
enum class LabelId { Menu0, Menu1, Menu2, Menu3, Menu4, Label2, Label3 };

class WindowServices {
public:
    virtual ~WindowServices() = default;

    // The falling piece's sprites, k = 1..4.
    virtual float SpriteLeft(int k) const = 0;
    virtual float SpriteTop(int k) const = 0;
    virtual void MoveSprite(int k, float left, float top) = 0;
    virtual void SetSpritePicture(int k, int picture) = 0;

    // Drawing on the window's background.
    virtual void SetRetainedBackground(bool on) = 0;
    // Fills the rectangle with corners (x1, y1) and (x2, y2), both included, with black.
    virtual void FillBlack(int x1, int y1, int x2, int y2) = 0;
    // Paints block picture 1..7 scaled to a size x size square at (left, top).
    virtual void PaintPicture(int picture, int left, int top, int size) = 0;

    virtual void SetTimerInterval(TimerId timer, std::int32_t milliseconds) = 0;

    virtual void SetCaption(LabelId label, std::string_view caption) = 0;
    virtual std::string Caption(LabelId label) const = 0;
    virtual void SetVisible(LabelId label, bool visible) = 0;
    virtual bool IsVisible(LabelId label) const = 0;

    // Starts a wave file from the program's folder and returns at once; a new
    // call cuts the effect still playing. Failures are silent.
    virtual void PlaySound(std::string_view fileName) = 0;

    // Seconds since midnight.
    virtual float TimeOfDay() const = 0;
    // A monotonic clock for measuring waits.
    virtual std::chrono::milliseconds Monotonic() const = 0;
    // Uniform in [0, 1); Randomize restarts the sequence from a seed.
    virtual float Rnd() = 0;
    virtual void Randomize(float seed) = 0;

    virtual void WaitForEvents(std::optional<std::chrono::milliseconds> timeout) = 0;
    // The program is ending: no further tick or input reaches the game.
    virtual void Quit() = 0;
};

}  // namespace tumblara
