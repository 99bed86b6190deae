#pragma once
// The colours the windows use, written 0x00BBGGRR as the design gives them.

#include "ui/WindowSystem.h"

namespace tumblara {

inline constexpr Colour kRossoScuro = 0x000080;  // lit menu label; the options and capture windows
inline constexpr Colour kGiallo = 0x00FFFF;
inline constexpr Colour kRosso = 0x0000FF;
inline constexpr Colour kVerde = 0x00FF00;
inline constexpr Colour kNero = 0x000000;
inline constexpr Colour kBianco = 0xFFFFFF;
inline constexpr Colour kGrigioChiaro = 0xE0E0E0;
inline constexpr Colour kMenuTesto = 0x0F0F0F;   // a menu label at rest: next to invisible on black

}  // namespace tumblara
