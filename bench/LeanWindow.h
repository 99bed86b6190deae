#pragma once
// The shared recording fake of the window services, with its log off, as the
// benchmarks and the autoplayer drive it: they call the game's procedures
// straight, so a wait without a deadline is the game waiting for the player
// (game over, pause). It is counted, and the flag `resume` points at is
// raised so that the wait ends as a click would end it.

#include "tests/support/FakeWindow.h"

namespace tumblara::bench {

class LeanWindow final : public testing::FakeWindow {
public:
    LeanWindow() : FakeWindow(21) { record = false; }  // the autoplayer's cells: a 1024-pixel-wide screen

    void MoveSprite(int k, float left, float top) override {
        // Sprites go above the top edge only when a landed piece parks them; count it once, on the first.
        if (k == 1 && top < 0 && SpriteTop(1) >= 0) ++landings;
        FakeWindow::MoveSprite(k, left, top);
    }
    void WaitForEvents(std::optional<Ms> timeout) override {
        if (timeout) return FakeWindow::WaitForEvents(timeout);
        ++waitsForPlayer;
        if (resume) *resume = true;
    }

    bool* resume = nullptr;  // normally the game's InGioco
    int waitsForPlayer = 0;  // the first one means the game has ended
    int landings = 0;
};

}  // namespace tumblara::bench
