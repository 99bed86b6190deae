#pragma once
// Colours, written 0x00BBGGRR as the design gives them: the low byte is red.

#include <QColor>
#include <QPalette>
#include <QWidget>
#include <cstdint>

namespace tumblara {

inline QColor ColoreBGR(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

inline constexpr std::uint32_t kRossoScuro = 0x000080;  // background of the options and capture windows
inline constexpr std::uint32_t kGiallo = 0x00FFFF;
inline constexpr std::uint32_t kRosso = 0x0000FF;
inline constexpr std::uint32_t kNero = 0x000000;
inline constexpr std::uint32_t kBianco = 0xFFFFFF;

// Text and background colour of a widget; the background is filled.
inline void Colora(QWidget* widget, std::uint32_t testo, std::uint32_t sfondo) {
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, ColoreBGR(testo));
    p.setColor(QPalette::Window, ColoreBGR(sfondo));
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

}  // namespace tumblara
