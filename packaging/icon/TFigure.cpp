#include "packaging/icon/TFigure.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <vector>

namespace tumblara {
namespace {

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

struct Rettangolo {
    int x, y, w, h;
    QRgb colore;
};

// One raised block of side `b`, as rectangles painted in order. The outer
// bevel is lit from the top left and its bottom and right edges are black, so
// neighbouring blocks stay apart. The centre square is sunken, so its lighting
// is the reverse; it is left out where it would crowd the bevel.
std::vector<Rettangolo> Blocco(int b) {
    const int t = std::max(1, b / 8);  // edge width
    std::vector<Rettangolo> r{
        {0, 0, b, b, kFaccia},
        {0, 0, b - t, t, kChiaro},
        {0, 0, t, b - t, kChiaro},
        {0, b - t, b, t, kScuro},
        {b - t, 0, t, b, kScuro},
    };
    const int a = b / 4;    // the centre square spans [a, b - a)
    const int lato = b - 2 * a;
    if (a >= 2 * t && lato >= 2 * t + 1) {
        r.push_back({a, a, lato, t, kScuro});
        r.push_back({a, a, t, lato, kScuro});
        r.push_back({a + t, b - a - t, lato - t, t, kChiaro});
        r.push_back({b - a - t, a + t, t, lato - t, kChiaro});
    }
    return r;
}

}  // namespace

QImage IconaT(int size) {
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    // Whole-pixel blocks, the figure centred in what is left over.
    const int b = size / 4;
    const int margine = (size - 4 * b) / 2;
    QPainter p(&img);
    for (const auto& [bx, by] : kBlocchi) {
        for (const Rettangolo& r : Blocco(b)) {
            p.fillRect(margine + bx * b + r.x, margine + by * b + r.y, r.w, r.h, QColor::fromRgba(r.colore));
        }
    }
    return img;
}

QString IconaTSvg() {
    QString svg = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" viewBox=\"0 0 %1 %1\" "
        "shape-rendering=\"crispEdges\">\n").arg(kIconaLato);
    const int b = kIconaLato / 4;
    for (const auto& [bx, by] : kBlocchi) {
        for (const Rettangolo& r : Blocco(b)) {
            svg += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"#%5\"/>\n")
                       .arg(bx * b + r.x).arg(by * b + r.y).arg(r.w).arg(r.h)
                       .arg(r.colore & 0xFFFFFFU, 6, 16, QLatin1Char('0'));
        }
    }
    return svg + QStringLiteral("</svg>\n");
}

}  // namespace tumblara
