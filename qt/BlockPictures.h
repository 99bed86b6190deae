#pragma once
// The seven block pictures Image1(1..7): 32x32, every row the same ramp,
// dark at both sides and brightest just right of the centre, so that a block
// looks like a lit rod. Each picture lights a fixed set of colour channels.

#include <QImage>
#include <array>
#include <cstdint>

namespace tumblara {

inline constexpr int kLatoImmagine = 32;
inline constexpr int kNumeroImmagini = 7;

// Brightness of column x, 0..31.
constexpr std::uint8_t Luminosita(int x) {
    return static_cast<std::uint8_t>(x <= 17 ? 15 * x : 255 - 17 * (x - 17));
}

struct Canali {
    bool rosso, verde, blu;
};

// Channels lit by picture 1..7 (index 0 unused).
inline constexpr std::array<Canali, kNumeroImmagini + 1> kCanali{{
    {false, false, false},
    {true, false, false},   // 1 red
    {true, true, true},     // 2 grey
    {true, true, false},    // 3 yellow
    {true, false, true},    // 4 magenta
    {false, false, true},   // 5 blue
    {false, true, true},    // 6 cyan
    {false, true, false},   // 7 green
}};

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
