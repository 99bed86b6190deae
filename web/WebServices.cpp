#include "web/WebServices.h"

#include <algorithm>
#include <cstdlib>

#include "engine/Rounding.h"
#include "web/Page.h"

namespace tumblara {

WebServices::WebServices(EventPump& pump, std::array<int, 7> labels, std::array<int, 4> sprites) : pump_(pump) {
    for (std::size_t i = 0; i < labels.size(); ++i) labels_[i].id = labels[i];
    for (std::size_t k = 0; k < sprites.size(); ++k) sprites_[k].id = sprites[k];
}

void WebServices::MoveSprite(int k, float left, float top) {
    Block& b = sprites_.at(static_cast<std::size_t>(k - 1));
    b.left = left;
    b.top = top;
    tp_move(b.id, CInt(left), CInt(top));
}

void WebServices::SetSpritePicture(int k, int picture) { tp_sprite_picture(Sprite(k).id, picture); }

void WebServices::FillBlack(int x1, int y1, int x2, int y2) {
    // Both corners are inside the rectangle.
    tp_draw(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) + 1, std::abs(y2 - y1) + 1, 0, retained_);
}

void WebServices::PaintPicture(int picture, int left, int top, int size) {
    if (picture >= 1 && picture <= 7) tp_draw(left, top, size, size, picture, retained_);
}

void WebServices::SetTimerInterval(TimerId timer, std::int32_t milliseconds) {
    pump_.SetInterval(timer == TimerId::Timer1 ? 0 : 1, milliseconds);
}

void WebServices::SetCaption(LabelId label, std::string_view caption) {
    Text& t = labels_.at(static_cast<std::size_t>(label));
    t.caption = caption;
    tp_text(t.id, t.caption.c_str());
}

void WebServices::SetVisible(LabelId label, bool visible) {
    Text& t = labels_.at(static_cast<std::size_t>(label));
    t.visible = visible;
    tp_visible(t.id, visible);
}

void WebServices::PlaySound(std::string_view fileName) {
    if (!pump_.Ended()) tp_play(std::string(fileName).c_str());
}

float WebServices::TimeOfDay() const { return static_cast<float>(tp_time_of_day()); }

std::chrono::milliseconds WebServices::Monotonic() const {
    return std::chrono::milliseconds(static_cast<std::int64_t>(EventPump::Now()));
}

void WebServices::Quit() {
    pump_.End();
    tp_end();
}

}  // namespace tumblara
