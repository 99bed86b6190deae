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
#include <memory>
#include <sstream>
#include <string>

namespace {

struct FreeImage {
    void operator()(XImage* img) const { XDestroyImage(img); }
};
using Image = std::unique_ptr<XImage, FreeImage>;

unsigned long Pixel(const XImage& img, int x, int y) {
    if (x < 0 || y < 0 || x >= img.width || y >= img.height) return 0;
    return XGetPixel(const_cast<XImage*>(&img), x, y) & 0xFFFFFF;
}

// A block picture is the same ramp on every row: dark at the left, brightest
// right of the middle. Text over the well (the banner) does not pass.
bool ShowsBlock(const XImage& img, int x0, int y0, int cella) {
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

std::string Well(const XImage& img, int cella) {
    std::string cells;
    for (int row = 1; row <= 31; ++row)
        for (int col = 1; col <= 16; ++col) cells += ShowsBlock(img, col * cella, row * cella, cella) ? '#' : '.';
    return cells;
}

long Count(const XImage& img, int left, int top, int width, int height, unsigned long colour) {
    long n = 0;
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x) n += Pixel(img, x, y) == colour ? 1 : 0;
    return n;
}

}  // namespace

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 1;
    const Window root = DefaultRootWindow(display);
    XWindowAttributes size{};
    XGetWindowAttributes(display, root, &size);
    std::string line;
    while (std::getline(std::cin, line)) {
        const Image img(XGetImage(display, root, 0, 0, static_cast<unsigned>(size.width),
                                  static_cast<unsigned>(size.height), AllPlanes, ZPixmap));
        if (!img) return 1;
        std::istringstream queries(line);
        std::string query;
        while (queries >> query) {
            int x = 0, y = 0, w = 0, h = 0;
            std::string colour;
            if (query == "count" && queries >> x >> y >> w >> h >> colour)
                std::cout << Count(*img, x, y, w, h, std::stoul(colour, nullptr, 16)) << ' ';
            else if (query == "well" && queries >> x)
                std::cout << Well(*img, x) << ' ';
            else
                std::cout << "? ";
        }
        std::cout << std::endl;
    }
    XCloseDisplay(display);
    return 0;
}
