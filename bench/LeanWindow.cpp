#include "bench/LeanWindow.h"

namespace tumblara::bench {

void LeanWindow::MoveSprite(int k, float left, float top) {
    // Sprites go above the top edge only when a landed piece hands them back;
    // count the landing once, on the first sprite.
    if (k == 1 && top < 0 && sprites_[1].top >= 0) ++landings;
    sprites_[Index(k)] = {left, top};
}

float LeanWindow::TimeOfDay() const {
    // A fixed start makes every game seed the same sequence.
    constexpr double kMezzogiorno = 12 * 3600.0;
    return static_cast<float>(kMezzogiorno + static_cast<double>(now_.count()) / 1000.0);
}

void LeanWindow::WaitForEvents(std::optional<Ms> timeout) {
    if (timeout) {
        now_ += *timeout;
        return;
    }
    ++waitsForPlayer;
    if (resume) *resume = true;
}

}  // namespace tumblara::bench
