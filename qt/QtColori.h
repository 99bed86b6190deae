#pragma once
// Colours written 0x00BBGGRR, as the shared windows give them, for Qt.

#include <QColor>
#include <QPalette>
#include <QWidget>

#include "ui/WindowSystem.h"

namespace tumblara {

inline QColor ColoreBGR(Colour bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

// Text and background colour of a widget; the background is filled unless
// it is transparent, and a text in the usual colour keeps the palette's.
inline void Colora(QWidget* widget, Colour testo, Colour sfondo) {
    QPalette p = widget->palette();
    if (testo != kPredefinito) p.setColor(QPalette::WindowText, ColoreBGR(testo));
    if (sfondo != kTrasparente) p.setColor(QPalette::Window, ColoreBGR(sfondo));
    widget->setPalette(p);
    widget->setAutoFillBackground(sfondo != kTrasparente);
}

}  // namespace tumblara
