#pragma once
// The game's pseudo-random source: uniform single-precision values in [0, 1),
// restarted from a seed at each new game.

#include <bit>
#include <cstdint>
#include <random>

namespace tumblara {

class Random {
public:
    explicit Random(std::uint32_t seed = 5489u) : gen_(seed) {}

    // Every bit of the seed matters: two seeds a few milliseconds apart give
    // different sequences.
    void Seed(float seed) { gen_.seed(std::bit_cast<std::uint32_t>(seed)); }

    // 24 random bits scaled by 2^-24: exactly representable, never 1.
    float Next() { return static_cast<float>(gen_() >> 8) * 0x1p-24f; }

private:
    std::mt19937 gen_;
};

}  // namespace tumblara
