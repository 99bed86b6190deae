#pragma once
// The seven block pictures, 32x32, as RGBA bytes: every row the same ramp,
// dark at both sides and brightest just right of the centre, so that a block
// looks like a lit rod. Each picture lights a fixed set of colour channels.

#include <array>
#include <cstdint>

namespace tumblara {

inline constexpr int kLatoImmagine = 32;
inline constexpr int kNumeroImmagini = 7;
using ImmagineRGBA = std::array<std::uint8_t, kLatoImmagine * kLatoImmagine * 4>;

// Picture 1..7 (any other index is black), row by row, opaque.
constexpr ImmagineRGBA ImmagineBlocco(int picture) {
    // Red, green and blue lit (bits 0, 1, 2), by picture; 0 for no picture.
    constexpr std::array<std::uint8_t, kNumeroImmagini + 1> kCanali{0, 0b001, 0b111, 0b011, 0b101, 0b100, 0b110, 0b010};
    const bool valida = picture >= 1 && picture <= kNumeroImmagini;
    const std::uint8_t canali = valida ? kCanali[static_cast<std::size_t>(picture)] : 0;
    ImmagineRGBA rgba{};
    for (int i = 0; i < kLatoImmagine * kLatoImmagine; ++i) {
        const int x = i % kLatoImmagine;
        const auto luminosita = static_cast<std::uint8_t>(x <= 17 ? 15 * x : 255 - 17 * (x - 17));
        for (int c = 0; c < 3; ++c)
            rgba[static_cast<std::size_t>(i * 4 + c)] = (canali >> c & 1) ? luminosita : 0;
        rgba[static_cast<std::size_t>(i * 4 + 3)] = 255;
    }
    return rgba;
}

}  // namespace tumblara
