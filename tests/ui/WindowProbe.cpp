// Reads a real X screen for the real-window test. Each line on the input is
// a list of queries about one fresh screenshot; the answers come back on one
// line, one word each, in the same order.
//
//   count <x> <y> <w> <h> <RRGGBB>   pixels of exactly that colour in the rectangle
//   well <cella>                     rows 1..31 of the well as one word of 31 x 16
//                                    characters: '#' a block, '.' anything else

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <iostream>
#include <sstream>
#include <string>

namespace {

unsigned long Pixel(XImage& img, int x, int y) {
    if (x < 0 || y < 0 || x >= img.width || y >= img.height) return 0;
    return XGetPixel(&img, x, y) & 0xFFFFFF;
}

// A block picture is the same ramp on every row: dark at the left, brightest
// right of the middle. Text over the well (the banner) does not pass.
bool ShowsBlock(XImage& img, int x0, int y0, int cella) {
    auto at = [&](int percent, int y) {  // the brightest channel
        const unsigned long p = Pixel(img, x0 + cella * percent / 100, y);
        return std::max({p >> 16, (p >> 8) & 0xFF, p & 0xFF});
    };
    for (int y : {y0 + cella / 5, y0 + cella / 2, y0 + cella * 4 / 5}) {
        const unsigned long left = at(10, y), rise = at(30, y), peak = at(55, y), right = at(92, y);
        if (peak < 150 || !(left < rise && rise < peak && right < peak)) return false;
    }
    return true;
}

}  // namespace

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 1;
    XWindowAttributes size{};
    XGetWindowAttributes(display, DefaultRootWindow(display), &size);
    for (std::string line; std::getline(std::cin, line);) {
        XImage* img = XGetImage(display, DefaultRootWindow(display), 0, 0, static_cast<unsigned>(size.width),
                                static_cast<unsigned>(size.height), AllPlanes, ZPixmap);
        if (!img) return 1;
        std::istringstream queries(line);
        std::string query, colour;
        int x = 0, y = 0, w = 0, h = 0;
        while (queries >> query) {
            if (query == "count" && queries >> x >> y >> w >> h >> colour) {
                const unsigned long wanted = std::stoul(colour, nullptr, 16);
                long n = 0;
                for (int j = y; j < y + h; ++j)
                    for (int i = x; i < x + w; ++i) n += Pixel(*img, i, j) == wanted;
                std::cout << n << ' ';
            } else if (query == "well" && queries >> x) {
                std::string cells;
                for (int row = 1; row <= 31; ++row)
                    for (int col = 1; col <= 16; ++col) cells += ShowsBlock(*img, col * x, row * x, x) ? '#' : '.';
                std::cout << cells << ' ';
            } else {
                std::cout << "? ";
            }
        }
        std::cout << std::endl;
        XDestroyImage(img);
    }
    XCloseDisplay(display);
    return 0;
}
