#pragma once
// What a platform provides to run the game: the one interface between the
// shared windows (frmGame, frmOption, frmKey, all behaviour, written once)
// and a window system. A platform implements WindowSystem, feeds its events
// into WindowEvents and provides RunPlatform; nothing else. The desktop's is
// in qt/, the browser's in web/.
//
// Conventions:
// - Element positions are pixels of their own window, origin at its top-left
//   corner. Window positions are pixels of the screen the game is on, origin
//   at that screen's top-left corner. Twips are the shared code's business:
//   it converts with the screen's metrics.
// - Colours are 0x00BBGGRR (the low byte is red).
// - Key codes are Windows virtual-key codes; 0 is a key that has none.
// - Everything runs on one thread, one event at a time. An event handler may
//   pump events (WaitForEvents, ShowModal): the platform then delivers further
//   events, ticks included, nested inside it.
// - Nothing is called by the platform once Quit has been called.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "engine/WindowServices.h"

namespace tumblara {

using Colour = std::uint32_t;
inline constexpr Colour kTrasparente = 0xFF000000;  // background: what lies beneath shows through
inline constexpr Colour kPredefinito = 0xFE000000;  // text: the platform's usual colour for it

// The three windows. At most one of each is open at a time.
enum class FormId { frmGame, frmOption, frmKey };

// Every element with a text or a pointer handler. The first seven are the
// engine's LabelId, in the same order.
enum class ElementId {
    Menu0, Menu1, Menu2, Menu3, Menu4, Label2, Label3,  // frmGame
    Label4,                                             // frmGame: "Prossimo pezzo"
    Text4,                                              // frmGame: the information text box
    Opzione0, Opzione1, Opzione2,                       // frmOption: Label1(0..2)
    Cattura1, Cattura2,                                 // frmKey: Label1 and Label2
    Background,                                         // a window's bare background (events only)
};
inline constexpr int kNumeroElementi = static_cast<int>(ElementId::Background);

constexpr FormId FormOf(ElementId e) {
    if (e <= ElementId::Text4) return FormId::frmGame;
    return e <= ElementId::Opzione2 ? FormId::frmOption : FormId::frmKey;
}

struct ScreenMetrics {
    int widthPx = 0;
    int heightPx = 0;
    double twipsPerPixelX = 15.0;  // 1440 twips per inch at 96 dots per inch
    double twipsPerPixelY = 15.0;
};

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;  // a negative width or height keeps the current one
    int height = 0;
    bool operator==(const PixelRect&) const = default;
};

struct Font {
    std::string_view family;  // empty: the platform's usual user-interface font
    double points = 0;        // 0: its usual size
    bool bold = false;
};

enum class Alignment { Left, Centre };

// What a window receives. The platform calls these on the receiver given to
// OpenWindow, for events of that window only.
class WindowEvents {
public:
    virtual ~WindowEvents() = default;
    // The main window became the active window, or stopped being it. Delivered
    // from the event loop, never while the window is being shown: it may pump
    // events for as long as the player takes.
    virtual void Activate() {}
    virtual void Deactivate() {}
    // The window system asks to close the window (title bar, window manager,
    // closing the page). The window decides; the platform closes nothing itself.
    virtual void CloseRequest() {}
    // A key, sent to the open modal window on top, else to the main window,
    // whichever element has the focus. A held key sends further key-downs with
    // `repeat` set; a platform that reports auto-repeat as release-and-press
    // pairs sends those releases with `repeat` set too. Keys never act on a
    // window by themselves (no Escape, no Tab, no shortcut).
    virtual void KeyDown(int /*keyCode*/, bool /*repeat*/) {}
    virtual void KeyUp(int /*keyCode*/, bool /*repeat*/) {}
    // Whether a key would be this window's now. Asked between events; a
    // platform leaves the other keys to itself (its shortcuts, scrolling).
    virtual bool UsesKey(int /*keyCode*/) const { return false; }
    // The pointer over an element or the bare background (the well's frame is
    // part of it). Over a sprite nothing is sent. A hidden element takes no
    // pointer: what lies beneath it does.
    virtual void MouseMove(ElementId /*element*/) {}
    // Any button went down.
    virtual void MouseDown(ElementId /*element*/) {}
    // The left button went down and came up on the same element.
    virtual void Click(ElementId /*element*/) {}
    // A timer of the main window ticked.
    virtual void Tick(TimerId /*timer*/) {}
};

// The engine's services, and what the windows need beyond them.
class WindowSystem : public WindowServices {
public:
    // --- Windows
    // Creates the window and its elements, hidden, with the elements in their
    // platform defaults, and sends its events to `events` from now on.
    virtual void OpenWindow(FormId form, WindowEvents& events) = 0;
    virtual void SetWindowLook(FormId form, std::string_view title, Colour background) = 0;
    // The window's outer rectangle on the screen. Windows have no border.
    virtual void MoveWindow(FormId form, PixelRect onScreen) = 0;
    virtual PixelRect WindowRect(FormId form) const = 0;
    // Shows the window modal and returns once it is closed or the program
    // ends. Meanwhile events are handled (ticks go on); the other windows get
    // no input. Whether the window is realised inside the main window or as
    // one of its own is the platform's choice; its position is the same.
    virtual void ShowModal(FormId form) = 0;
    // Hides and destroys the window; no more events come from it. A ShowModal
    // of it returns once the handler that closed it has returned. Closing a
    // window that is not open does nothing.
    virtual void CloseWindow(FormId form) = 0;

    // --- Labels and the text box
    virtual void SetFont(ElementId element, const Font& font) = 0;
    virtual void SetColours(ElementId element, Colour text, Colour background) = 0;
    virtual void SetAlignment(ElementId element, Alignment alignment) = 0;
    // A label sized to its text follows every later text or font.
    virtual void SetAutoSize(ElementId element, bool autoSize) = 0;
    virtual void SetText(ElementId element, std::string_view text) = 0;  // UTF-8, lines end "\n"
    virtual std::string Text(ElementId element) const = 0;
    virtual void SetShown(ElementId element, bool shown) = 0;
    // The element's own flag, also while its window is hidden.
    virtual bool Shown(ElementId element) const = 0;
    virtual void MoveElement(ElementId element, PixelRect rect) = 0;

    // --- The main window's sprites and the well's frame
    virtual void SizeSprite(int k, int size) = 0;
    // A one-pixel outline, drawn above the background and beneath the sprites.
    virtual void SetFrame(PixelRect rect, Colour outline) = 0;

    // --- The screen the game is on
    virtual ScreenMetrics Screen() const = 0;

    // The engine's labels are elements of the main window.
    void SetCaption(LabelId label, std::string_view caption) final { SetText(Element(label), caption); }
    std::string Caption(LabelId label) const final { return Text(Element(label)); }
    void SetVisible(LabelId label, bool visible) final { SetShown(Element(label), visible); }
    bool IsVisible(LabelId label) const final { return Shown(Element(label)); }

private:
    static ElementId Element(LabelId label) { return static_cast<ElementId>(label); }
};

// The program's main window: made once the window system is up, it opens and
// loads its window and owns everything else.
using MainWindowMaker = std::function<std::unique_ptr<WindowEvents>(WindowSystem&)>;

// Each platform's entry. Brings the window system up, makes the main window
// with `make` (its constructor opens and loads it), shows it covering the
// screen, and handles events until the program ends (Quit, or the platform's
// own end). Answers the exit status. ui/main.cpp is:
//   return RunPlatform(argc, argv, [](WindowSystem& w) { return std::make_unique<frmGame>(w); });
int RunPlatform(int argc, char** argv, const MainWindowMaker& make);

}  // namespace tumblara
