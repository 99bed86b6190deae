#pragma once
// The seven block pictures as RGBA bytes for the page: every row the same
// ramp, dark at both sides and brightest right of the centre; each picture
// lights a fixed set of colour channels. The numbers are the desktop's, kept
// here until a toolkit-free header holds them for both layers.

#include <array>
#include <cstdint>

namespace tumblara {

inline constexpr int kLato = 32;
inline constexpr int kImmagini = 7;
using ImmagineRGBA = std::array<std::uint8_t, kLato * kLato * 4>;

constexpr ImmagineRGBA ImmagineBlocco(int picture) {
    // Red, green and blue lit, by picture 1..7.
    constexpr std::array<std::uint8_t, kImmagini + 1> kCanali{0, 0b001, 0b111, 0b011, 0b101, 0b100, 0b110, 0b010};
    ImmagineRGBA rgba{};
    for (int i = 0; i < kLato * kLato; ++i) {
        const int x = i % kLato;
        const auto v = static_cast<std::uint8_t>(x <= 17 ? 15 * x : 255 - 17 * (x - 17));
        for (int c = 0; c < 3; ++c)
            rgba[static_cast<std::size_t>(i * 4 + c)] = (kCanali[static_cast<std::size_t>(picture)] >> c & 1) ? v : 0;
        rgba[static_cast<std::size_t>(i * 4 + 3)] = 255;
    }
    return rgba;
}

}  // namespace tumblara
