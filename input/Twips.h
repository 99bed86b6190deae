#pragma once
// Window positions and design sizes are in twips, 1/1440 inch. One pixel is
// 1440 / (logical dots per inch) twips: 15 on a 96-dpi screen.

class QScreen;
class QWidget;

namespace tumblara {

class Twips {
public:
    // The scale of `screen`, or of the primary screen when it is null.
    explicit Twips(const QScreen* screen);
    // The scale of the screen `widget` is on.
    static Twips Of(const QWidget* widget);

    double PerPixelX() const { return perPixelX_; }
    double PerPixelY() const { return perPixelY_; }
    // Whole pixels, rounded to the nearest with halves to the even neighbour.
    int ToPixelsX(double twips) const;
    int ToPixelsY(double twips) const;
    double FromPixelsX(double pixels) const { return pixels * perPixelX_; }
    double FromPixelsY(double pixels) const { return pixels * perPixelY_; }

private:
    double perPixelX_;
    double perPixelY_;
};

}  // namespace tumblara
