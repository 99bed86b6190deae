// Looks at a real X screen for the real-window tests: waits until the well's
// green frame is on the screen and prints when it appeared.
//
//   window_probe <left> <top> <width> <height> <timeout-seconds> [failure.png]
//
// Prints "ready" once connected, then "frame <unix-ns>" when every pixel of
// the rectangle's outline is 0x00FF00. Exit status 0 when found, 1 when not.

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <chrono>
#include <cstdio>

namespace {

bool FrameShown(const QImage& img, const QRect& r) {
    const QRgb verde = qRgb(0, 255, 0);
    if (!img.rect().contains(r)) return false;
    for (int y = r.top(); y <= r.bottom(); ++y)
        if (img.pixel(r.left(), y) != verde || img.pixel(r.right(), y) != verde) return false;
    for (int x = r.left(); x <= r.right(); ++x)
        if (img.pixel(x, r.top()) != verde || img.pixel(x, r.bottom()) != verde) return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 6) {
        std::fprintf(stderr, "usage: window_probe left top width height timeout-seconds [failure.png]\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QRect frame(std::atoi(argv[1]), std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]));
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(std::atoi(argv[5]));
    std::printf("ready\n");
    std::fflush(stdout);

    QScreen* screen = QGuiApplication::primaryScreen();
    QImage last;
    while (std::chrono::steady_clock::now() < limit) {
        last = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
        if (FrameShown(last, frame)) {
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                std::chrono::system_clock::now().time_since_epoch());
            std::printf("frame %lld\n", static_cast<long long>(ns.count()));
            return 0;
        }
        QThread::msleep(5);
    }
    if (argc > 6) last.save(QString::fromLocal8Bit(argv[6]));
    std::printf("no frame\n");
    return 1;
}
