#pragma once
// Window positions and design sizes are in twips, 1/1440 inch: as many to
// the pixel as the screen's metrics say (15 on a 96-dpi screen).

#include "engine/Rounding.h"
#include "ui/WindowSystem.h"

namespace tumblara {

class Twips {
public:
    explicit Twips(const ScreenMetrics& screen)
        : perPixelX_(screen.twipsPerPixelX), perPixelY_(screen.twipsPerPixelY) {}

    double PerPixelX() const { return perPixelX_; }
    double PerPixelY() const { return perPixelY_; }
    // Whole pixels, rounded to the nearest with halves to the even neighbour.
    int ToPixelsX(double twips) const { return CInt(twips / perPixelX_); }
    int ToPixelsY(double twips) const { return CInt(twips / perPixelY_); }
    double FromPixelsX(double pixels) const { return pixels * perPixelX_; }
    double FromPixelsY(double pixels) const { return pixels * perPixelY_; }

private:
    double perPixelX_;
    double perPixelY_;
};

}  // namespace tumblara
