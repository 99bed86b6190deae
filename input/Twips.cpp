#include "input/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "engine/Rounding.h"

namespace tumblara {
namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kFallbackDpi = 96.0;  // no screen at all

double PerPixel(double dpi) { return kTwipsPerInch / (dpi > 0 ? dpi : kFallbackDpi); }

}  // namespace

Twips::Twips(const QScreen* screen) {
    if (!screen) screen = QGuiApplication::primaryScreen();
    perPixelX_ = PerPixel(screen ? screen->logicalDotsPerInchX() : kFallbackDpi);
    perPixelY_ = PerPixel(screen ? screen->logicalDotsPerInchY() : kFallbackDpi);
}

Twips Twips::Of(const QWidget* widget) { return Twips(widget ? widget->screen() : nullptr); }

int Twips::ToPixelsX(double twips) const { return CInt(twips / perPixelX_); }
int Twips::ToPixelsY(double twips) const { return CInt(twips / perPixelY_); }

}  // namespace tumblara
