#include "ui/Layout.h"

#include <algorithm>

#include "engine/Rounding.h"

namespace tumblara {
namespace {

// The frame is 32 cells and 2 pixels high.
constexpr int AltezzaCornice(int cella) { return 32 * cella + 2; }

}  // namespace

std::uint8_t CellaPerSchermo(int widthPx, int heightPx) {
    int cella = CInt(static_cast<double>(widthPx) / 48.0);
    // A wide screen would push the bottom of the well off the screen: take
    // the largest cell whose frame still fits. 4:3 screens are never touched.
    if (AltezzaCornice(cella) > heightPx) cella = (heightPx - 2) / 32;
    return static_cast<std::uint8_t>(std::clamp(cella, 1, 255));
}

Layout CalcolaLayout(const ScreenMetrics& screen) {
    Layout l;
    l.W = screen.widthPx;
    l.Cella = CellaPerSchermo(screen.widthPx, screen.heightPx);
    const int c = l.Cella;

    for (int i = 0; i < 5; ++i)
        l.Label1[static_cast<std::size_t>(i)] = {l.W - kMenuWidth, kMenuSpacing * i, kMenuWidth, kMenuHeight};
    l.Shape1 = {0, -2 * c, c, c};
    l.Label2 = {17 * c + 20, c};
    l.Label3 = {6 * c, 15 * c};
    l.Label4 = {20 * c, 13 * c};
    l.Text4LeftExact = 31.5 * c;
    l.Text4 = {CInt(l.Text4LeftExact), 8 * c, CInt(kText4WidthTwips / screen.twipsPerPixelX),
               CInt(kText4HeightTwips / screen.twipsPerPixelY)};
    l.Shape2 = {c - 2, 0, 16 * c + 4, AltezzaCornice(c)};
    return l;
}

}  // namespace tumblara
