#include "web/WebWindowSystem.h"

#include <algorithm>
#include <cstdlib>

#include <emscripten.h>

#include "engine/Game.h"
#include "engine/Rounding.h"
#include "input/TastiFisici.h"
#include "ui/BlockImages.h"
#include "web/Page.h"

namespace tumblara {
namespace {

// The page's own colour where the game asks for the platform's usual one or
// for none.
int PageColour(Colour c) { return c == kTrasparente || c == kPredefinito ? -1 : static_cast<int>(c & 0xFFFFFF); }

}  // namespace

WebWindowSystem::WebWindowSystem() {
    int width = 0;
    int height = 0;
    tp_start(&width, &height);
    screen_ = {width, height, 15.0, 15.0};  // CSS pixels: 96 to the inch
    forms_[0].rect = {0, 0, width, height};
    for (int picture = 1; picture <= kNumeroImmagini; ++picture)
        tp_picture(picture, ImmagineBlocco(picture).data(), kLatoImmagine);
    pump_.OnEvent([this](const PageEvent& e) { Handle(e); });
    pump_.OnTick(0, [this] {
        if (WindowEvents* main = Window(FormId::frmGame).events) main->Tick(TimerId::Timer1);
    });
    pump_.OnTick(1, [this] {
        if (WindowEvents* main = Window(FormId::frmGame).events) main->Tick(TimerId::Timer2);
    });
}

void WebWindowSystem::ShowMain() {
    for (std::string_view name : {kSuonoPasso, kSuonoRiga, kSuonoLivello}) tp_preload(std::string(name).c_str());
    tp_visible(0, 1);
    tp_listen(this, keyName_.data(), static_cast<int>(keyName_.size()));
}

bool WebWindowSystem::GameKey(std::string_view name, bool numLock) const {
    const WindowEvents* target = KeyTarget();
    return !pump_.Ended() && target != nullptr && target->UsesKey(CodiceDelTasto(name, numLock));
}

void WebWindowSystem::Make(ElementId element, int kind, int parent) {
    Item& item = Element(element);
    item = Item{};
    item.id = tp_create(kind, parent);
}

void WebWindowSystem::Place(const Item& item) {
    const PixelRect& r = item.rect;
    tp_place(item.id, r.left, r.top, item.autoSize ? -1 : r.width, item.autoSize ? -1 : r.height);
}

void WebWindowSystem::OpenWindow(FormId form, WindowEvents& events) {
    Form& f = Window(form);
    if (f.open) return;
    f.open = true;
    f.events = &events;
    switch (form) {
    case FormId::frmGame:
        // The frame lies above the background and beneath the blocks, the
        // blocks beneath the labels.
        frame_ = tp_create(kTpOutline, 0);
        for (Block& b : sprites_) b.id = tp_create(kTpSprite, 0);
        for (int e = 0; e <= static_cast<int>(ElementId::Label4); ++e) Make(static_cast<ElementId>(e), kTpLabel, 0);
        Make(ElementId::Text4, kTpTextBox, 0);
        break;
    case FormId::frmOption:
        f.id = tp_create(kTpWindow, 0);
        for (ElementId e : {ElementId::Opzione0, ElementId::Opzione1, ElementId::Opzione2}) Make(e, kTpLabel, f.id);
        break;
    case FormId::frmKey:
        f.id = tp_create(kTpWindow, 0);
        for (ElementId e : {ElementId::Cattura1, ElementId::Cattura2}) Make(e, kTpLabel, f.id);
        break;
    }
    tp_visible(f.id, 0);
}

void WebWindowSystem::SetWindowLook(FormId form, std::string_view title, Colour background) {
    if (form == FormId::frmGame) tp_title(std::string(title).c_str());
    tp_colours(Window(form).id, -1, PageColour(background));
}

void WebWindowSystem::MoveWindow(FormId form, PixelRect onScreen) {
    Form& f = Window(form);
    if (onScreen.width < 0) onScreen.width = f.rect.width;
    if (onScreen.height < 0) onScreen.height = f.rect.height;
    f.rect = onScreen;
    // The main window is the page, and the page is the screen.
    if (form != FormId::frmGame) tp_place(f.id, onScreen.left, onScreen.top, onScreen.width, onScreen.height);
}

void WebWindowSystem::ShowModal(FormId form) {
    if (!Window(form).open || pump_.Ended()) return;
    const int id = Window(form).id;
    modal_.push_back(form);
    tp_visible(id, 1);
    while (Window(form).open && !pump_.Ended()) pump_.Wait(std::nullopt);
}

void WebWindowSystem::CloseWindow(FormId form) {
    Form& f = Window(form);
    if (!f.open || form == FormId::frmGame) return;
    f.open = false;
    f.events = nullptr;
    std::erase(modal_, form);
    tp_remove(f.id);  // its elements with it
    for (int e = 0; e < kNumeroElementi; ++e)
        if (FormOf(static_cast<ElementId>(e)) == form) items_[static_cast<std::size_t>(e)] = Item{};
}

void WebWindowSystem::SetFont(ElementId element, const Font& font) {
    tp_font(Element(element).id, std::string(font.family).c_str(), font.points, font.bold);
}

void WebWindowSystem::SetColours(ElementId element, Colour text, Colour background) {
    tp_colours(Element(element).id, PageColour(text), PageColour(background));
}

void WebWindowSystem::SetAlignment(ElementId element, Alignment alignment) {
    tp_centred(Element(element).id, alignment == Alignment::Centre);
}

void WebWindowSystem::SetAutoSize(ElementId element, bool autoSize) {
    Item& item = Element(element);
    item.autoSize = autoSize;
    Place(item);
}

void WebWindowSystem::SetText(ElementId element, std::string_view text) {
    Item& item = Element(element);
    item.text = text;
    tp_text(item.id, item.text.c_str());
}

void WebWindowSystem::SetShown(ElementId element, bool shown) {
    Item& item = Element(element);
    item.shown = shown;
    tp_visible(item.id, shown);
}

void WebWindowSystem::MoveElement(ElementId element, PixelRect rect) {
    Item& item = Element(element);
    if (rect.width < 0) rect.width = item.rect.width;
    if (rect.height < 0) rect.height = item.rect.height;
    item.rect = rect;
    Place(item);
}

void WebWindowSystem::MoveSprite(int k, float left, float top) {
    Block& b = Sprite(k);
    b.left = left;
    b.top = top;
    tp_move(b.id, CInt(left), CInt(top));
}

void WebWindowSystem::SetSpritePicture(int k, int picture) { tp_sprite_picture(Sprite(k).id, picture); }

void WebWindowSystem::SizeSprite(int k, int size) {
    Block& b = Sprite(k);
    b.size = size;
    tp_place(b.id, CInt(b.left), CInt(b.top), size, size);
}

void WebWindowSystem::SetFrame(PixelRect rect, Colour outline) {
    tp_place(frame_, rect.left, rect.top, rect.width, rect.height);
    tp_colours(frame_, PageColour(outline), -1);
}

void WebWindowSystem::FillBlack(int x1, int y1, int x2, int y2) {
    // Both corners lie inside the rectangle.
    tp_draw(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) + 1, std::abs(y2 - y1) + 1, 0, retained_);
}

void WebWindowSystem::PaintPicture(int picture, int left, int top, int size) {
    if (picture >= 1 && picture <= kNumeroImmagini) tp_draw(left, top, size, size, picture, retained_);
}

void WebWindowSystem::SetTimerInterval(TimerId timer, std::int32_t milliseconds) {
    pump_.SetInterval(timer == TimerId::Timer1 ? 0 : 1, milliseconds);
}

void WebWindowSystem::PlaySound(std::string_view fileName) {
    if (!pump_.Ended()) tp_play(std::string(fileName).c_str());
}

float WebWindowSystem::TimeOfDay() const { return static_cast<float>(tp_time_of_day()); }

std::chrono::milliseconds WebWindowSystem::Monotonic() const {
    return std::chrono::milliseconds(static_cast<std::int64_t>(EventPump::Now()));
}

void WebWindowSystem::Quit() {
    if (pump_.Ended()) return;
    pump_.End();
    tp_end();
}

WindowEvents* WebWindowSystem::KeyTarget() const {
    return modal_.empty() ? Window(FormId::frmGame).events : Window(modal_.back()).events;
}

void WebWindowSystem::Handle(const PageEvent& event) {
    WindowEvents* main = Window(FormId::frmGame).events;
    switch (event.kind) {
    case PageEventKind::KeyDown:
    case PageEventKind::KeyUp: {
        WindowEvents* target = KeyTarget();
        const int code = CodiceDelTasto(event.code, event.numLock);
        if (target != nullptr && event.kind == PageEventKind::KeyDown) target->KeyDown(code, event.repeat);
        if (target != nullptr && event.kind == PageEventKind::KeyUp) target->KeyUp(code, false);
        return;
    }
    case PageEventKind::Activate:
    case PageEventKind::Deactivate: {
        // While a window is open inside the page, the focus coming and going is its own.
        const bool activate = event.kind == PageEventKind::Activate;
        if (main == nullptr || !modal_.empty() || active_ == activate) return;
        active_ = activate;
        if (activate)
            main->Activate();
        else
            main->Deactivate();
        return;
    }
    default:
        break;
    }
    // Pointer events: the element under the pointer, or a window's bare background.
    FormId form = FormId::frmGame;
    ElementId element = ElementId::Background;
    for (std::size_t f = 1; f < forms_.size(); ++f)
        if (event.element != 0 && forms_[f].open && forms_[f].id == event.element) form = static_cast<FormId>(f);
    for (int e = 0; e < kNumeroElementi; ++e)
        if (event.element != 0 && items_[static_cast<std::size_t>(e)].id == event.element) {
            element = static_cast<ElementId>(e);
            form = FormOf(element);
        }
    WindowEvents* target = Window(form).events;
    if (target == nullptr) return;
    if (event.kind == PageEventKind::MouseMove) target->MouseMove(element);
    if (event.kind == PageEventKind::MouseDown) target->MouseDown(element);
    if (event.kind == PageEventKind::Click) target->Click(element);
}

int RunPlatform(int /*argc*/, char** /*argv*/, const MainWindowMaker& make) {
    WebWindowSystem system;
    const std::unique_ptr<WindowEvents> main = make(system);
    system.ShowMain();
    while (!system.Pump().Ended()) system.Pump().Wait(std::nullopt);
    return 0;
}

}  // namespace tumblara

extern "C" EMSCRIPTEN_KEEPALIVE int tp_game_key(const void* system, const char* name, int numLock) {
    return static_cast<const tumblara::WebWindowSystem*>(system)->GameKey(name, numLock != 0) ? 1 : 0;
}
