#include "packaging/icon/TFigure.h"

#include <array>

namespace tumblara {
namespace {

constexpr int kBlocco = 8;

// The 16-colour palette entries the figure uses.
constexpr QRgb kChiaro = 0xFFC0C0C0;  // light grey
constexpr QRgb kScuro = 0xFF000000;   // black
constexpr QRgb kFaccia = 0xFF808080;  // grey

// Top-left corners, in blocks, of the ten blocks: four across the top,
// then a stem two wide and three high under the middle two.
constexpr std::array<std::array<int, 2>, 10> kBlocchi{{
    {0, 0}, {1, 0}, {2, 0}, {3, 0},
    {1, 1}, {2, 1},
    {1, 2}, {2, 2},
    {1, 3}, {2, 3},
}};

// Colour of pixel (x, y) of one raised block. The outer bevel is lit from the
// top left; the centre square is sunken, so its lighting is the reverse.
constexpr QRgb ColoreBlocco(int x, int y) {
    constexpr int ultimo = kBlocco - 1;
    if (x == ultimo || y == ultimo) return kScuro;
    if (x == 0 || y == 0) return kChiaro;
    constexpr int a = 2;
    constexpr int b = kBlocco - 3;
    if (x >= a && x <= b && y >= a && y <= b) {
        if (x == a || y == a) return kScuro;
        if (x == b || y == b) return kChiaro;
    }
    return kFaccia;
}

QImage Disegno() {
    QImage img(kIconaLato, kIconaLato, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    for (const auto& [bx, by] : kBlocchi) {
        for (int y = 0; y < kBlocco; ++y) {
            for (int x = 0; x < kBlocco; ++x) {
                img.setPixel(bx * kBlocco + x, by * kBlocco + y, ColoreBlocco(x, y));
            }
        }
    }
    return img;
}

}  // namespace

QImage IconaT(int size) {
    QImage img = Disegno();
    if (size == kIconaLato) return img;
    return img.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

}  // namespace tumblara
