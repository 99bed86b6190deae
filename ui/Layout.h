#pragma once
// Where every element of the main window stands, computed from the screen
// alone. Pure arithmetic, tested without a display.

#include <array>
#include <cstdint>

#include "ui/WindowSystem.h"

namespace tumblara {

struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// The information box is designed in twips.
inline constexpr int kText4WidthTwips = 2652;
inline constexpr int kText4HeightTwips = 1212;
inline constexpr int kMenuWidth = 200;
inline constexpr int kMenuHeight = 35;
inline constexpr int kMenuSpacing = 60;

struct Layout {
    int W = 0;                        // screen width in pixels
    std::uint8_t Cella = 0;           // side of one cell in pixels
    std::array<PixelRect, 5> Label1;  // the menu column at the right edge
    PixelRect Shape1;                 // where the four sprites are parked, and their size
    PixelPoint Label2;                // labels sized to their text: top-left corner only
    PixelPoint Label3;
    PixelPoint Label4;
    double Text4LeftExact = 0;        // 31.5 cells: a half pixel for odd cells
    PixelRect Text4;                  // left rounded half to even
    PixelRect Shape2;                 // the green frame around the well
};

// Cella is W / 48, lowered where the well's frame would not fit the screen's
// height, and kept within 1..255 so that it fits a byte.
std::uint8_t CellaPerSchermo(int widthPx, int heightPx);

Layout CalcolaLayout(const ScreenMetrics& screen);

}  // namespace tumblara
