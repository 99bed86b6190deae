#pragma once
// The seven block pictures Image1(1..7) as Qt images.

#include "ui/BlockImages.h"

#include <QImage>
#include <array>

namespace tumblara {

// Picture 1..7 at its own size.
QImage Image1(int picture);

// The seven pictures, each scaled once to a square of `size` logical pixels
// at `devicePixelRatio`, for painting many cells of one size quickly.
class BlockPictures {
public:
    // The picture scaled to size x size logical pixels; nullptr for an
    // index outside 1..7.
    const QImage* Scaled(int picture, int size, qreal devicePixelRatio);

private:
    int size_ = -1;
    qreal ratio_ = 0;
    std::array<QImage, kNumeroImmagini + 1> scaled_{};
};

}  // namespace tumblara
