#include "qt/BlockPictures.h"

#include <cmath>

namespace tumblara {

QImage Image1(int picture) {
    const ImmagineRGBA rgba = ImmagineBlocco(picture);
    return QImage(rgba.data(), kLatoImmagine, kLatoImmagine, QImage::Format_RGBA8888)
        .convertToFormat(QImage::Format_RGB32);
}

const QImage* BlockPictures::Scaled(int picture, int size, qreal devicePixelRatio) {
    if (picture < 1 || picture > kNumeroImmagini || size <= 0) return nullptr;
    if (size != size_ || devicePixelRatio != ratio_) {
        size_ = size;
        ratio_ = devicePixelRatio;
        for (QImage& img : scaled_) img = QImage();
    }
    QImage& img = scaled_[static_cast<std::size_t>(picture)];
    if (img.isNull()) {
        const int device = static_cast<int>(std::lround(size * devicePixelRatio));
        img = Image1(picture).scaled(device, device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        img.setDevicePixelRatio(devicePixelRatio);
    }
    return &img;
}

}  // namespace tumblara
