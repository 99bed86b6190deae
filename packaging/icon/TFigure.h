#pragma once
// The program's icon: a T built of ten raised grey blocks on a transparent field.

#include <QImage>

namespace tumblara {

// The icon drawn at 32x32 pixels, the size it is designed for.
inline constexpr int kIconaLato = 32;

// The icon at size x size pixels. Sizes other than 32 are the 32x32 picture
// scaled without smoothing, so the bevels stay crisp.
QImage IconaT(int size = kIconaLato);

}  // namespace tumblara
