// Looks at and talks to a real X screen for the real-window tests.
//
//   window_probe frame <left> <top> <width> <height> <timeout-s> [failure.png]
//       prints "ready" once connected, then "frame <unix-ns>" as soon as every
//       pixel of the rectangle's outline is 0x00FF00; status 1 if it never is.
//   window_probe well <cella>
//       prints rows 1..31 of the well as 16 characters: '.' black, 'r' pure
//       red (the first piece of the first game), '#' anything else.
//   window_probe pixel <x> <y>
//       prints the colour of one screen pixel as RRGGBB.
//   window_probe close <window-id>
//       asks the window to close, as a window manager's close button does.

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

// Sends the close request of the window manager protocol; in XClose.cpp,
// away from Qt, whose headers clash with Xlib's macros.
int CloseWindow(unsigned long window);

namespace {

QImage Screenshot() {
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

bool FrameShown(const QImage& img, const QRect& r) {
    const QRgb verde = qRgb(0, 255, 0);
    if (!img.rect().contains(r)) return false;
    for (int y = r.top(); y <= r.bottom(); ++y)
        if (img.pixel(r.left(), y) != verde || img.pixel(r.right(), y) != verde) return false;
    for (int x = r.left(); x <= r.right(); ++x)
        if (img.pixel(x, r.top()) != verde || img.pixel(x, r.bottom()) != verde) return false;
    return true;
}

int WaitForFrame(int argc, char** argv) {
    if (argc < 7) return 2;
    const QRect frame(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(std::atoi(argv[6]));
    std::printf("ready\n");
    std::fflush(stdout);
    QImage last;
    while (std::chrono::steady_clock::now() < limit) {
        last = Screenshot();
        if (FrameShown(last, frame)) {
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                std::chrono::system_clock::now().time_since_epoch());
            std::printf("frame %lld\n", static_cast<long long>(ns.count()));
            return 0;
        }
        QThread::msleep(5);
    }
    if (argc > 7) last.save(QString::fromLocal8Bit(argv[7]));
    std::printf("no frame\n");
    return 1;
}

int PrintWell(int argc, char** argv) {
    if (argc < 3) return 2;
    const int cella = std::atoi(argv[2]);
    const QImage img = Screenshot();
    for (int row = 1; row <= 31; ++row) {
        std::string line;
        for (int col = 1; col <= 16; ++col) {
            const QRgb px = img.pixel(col * cella + cella / 2, row * cella + cella / 2);
            const bool red = qRed(px) > 0 && qGreen(px) == 0 && qBlue(px) == 0;
            line += (px & 0xFFFFFF) == 0 ? '.' : red ? 'r' : '#';
        }
        std::printf("%s\n", line.c_str());
    }
    return 0;
}

int PrintPixel(int argc, char** argv) {
    if (argc < 4) return 2;
    const QRgb px = Screenshot().pixel(std::atoi(argv[2]), std::atoi(argv[3]));
    std::printf("%02X%02X%02X\n", qRed(px), qGreen(px), qBlue(px));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "close") return argc > 2 ? CloseWindow(std::strtoul(argv[2], nullptr, 0)) : 2;
    QGuiApplication app(argc, argv);
    if (mode == "frame") return WaitForFrame(argc, argv);
    if (mode == "well") return PrintWell(argc, argv);
    if (mode == "pixel") return PrintPixel(argc, argv);
    std::fprintf(stderr, "usage: window_probe frame|well|pixel|close ...\n");
    return 2;
}
