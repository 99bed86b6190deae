// Writes the icon in every hicolor size, <dir>/<N>x<N>/apps/tumblara.png, and
// the scalable one, <dir>/scalable/apps/tumblara.svg.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTextStream>
#include <array>

#include "packaging/icon/TFigure.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: make_icons <hicolor folder>\n";
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    constexpr std::array kSizes{16, 22, 24, 32, 48, 64, 128, 256};
    for (int size : kSizes) {
        const QString sub = QStringLiteral("%1x%1/apps").arg(size);
        if (!root.mkpath(sub)) {
            err << "cannot create " << root.filePath(sub) << '\n';
            return 1;
        }
        const QString path = root.filePath(sub + QStringLiteral("/tumblara.png"));
        if (!tumblara::IconaT(size).save(path, "PNG")) {
            err << "cannot write " << path << '\n';
            return 1;
        }
    }
    const QString svg = root.filePath(QStringLiteral("scalable/apps/tumblara.svg"));
    QFile file(svg);
    if (!root.mkpath(QStringLiteral("scalable/apps")) || !file.open(QIODevice::WriteOnly) ||
        file.write(tumblara::IconaTSvg().toUtf8()) < 0) {
        err << "cannot write " << svg << '\n';
        return 1;
    }
    return 0;
}
