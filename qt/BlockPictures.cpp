#include "qt/BlockPictures.h"

#include <cmath>

namespace tumblara {

QImage Image1(int picture) {
    QImage img(kLatoImmagine, kLatoImmagine, QImage::Format_RGB32);
    const Canali ch = (picture >= 1 && picture <= kNumeroImmagini) ? kCanali[static_cast<std::size_t>(picture)]
                                                                    : kCanali[0];
    for (int y = 0; y < kLatoImmagine; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kLatoImmagine; ++x) {
            const int v = Luminosita(x);
            row[x] = qRgb(ch.rosso ? v : 0, ch.verde ? v : 0, ch.blu ? v : 0);
        }
    }
    return img;
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
