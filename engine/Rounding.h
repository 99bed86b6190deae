#pragma once
// Floating point to integer the way the game always converts: to the nearest
// integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).

#include <cmath>
#include <cstdint>

namespace tumblara {

inline std::int32_t CInt(double value) {
    // nearbyint honours the default rounding mode, which is round-half-even.
    return static_cast<std::int32_t>(std::nearbyint(value));
}

}  // namespace tumblara
