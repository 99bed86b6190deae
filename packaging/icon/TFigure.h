#pragma once
// The program's icon: a T built of ten raised grey blocks on a transparent field.

#include <QImage>
#include <QString>

namespace tumblara {

// The size the icon is designed for: blocks of 8 pixels, 4 blocks across.
inline constexpr int kIconaLato = 32;

// The icon drawn at size x size pixels. Every size is drawn on its own, with
// whole-pixel blocks and edges at least one pixel wide, so that the outline
// and the block edges stay whole down to 16 pixels.
QImage IconaT(int size = kIconaLato);

// The same figure as a scalable SVG document, in the 32-unit design grid.
QString IconaTSvg();

}  // namespace tumblara
