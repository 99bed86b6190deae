#include "qt/Display.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace tumblara {
namespace {

struct Held {
    QtMsgType type;
    QString file, function, category, text;
    int line;
};

// Qt's message handler is a plain function: the held messages live here.
std::vector<Held>& HeldMessages() {
    static std::vector<Held> held;
    return held;
}

void HoldBack(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fputs("tumblara: cannot reach a display to show the game on (DISPLAY, WAYLAND_DISPLAY or "
                   "QT_QPA_PLATFORM)\n",
                   stderr);
        std::_Exit(1);
    }
    HeldMessages().push_back({type, QString::fromUtf8(context.file), QString::fromUtf8(context.function),
                              QString::fromUtf8(context.category), text, context.line});
}

}  // namespace

DisplayGuard::DisplayGuard() : previous_(qInstallMessageHandler(HoldBack)) {}

DisplayGuard::~DisplayGuard() {
    qInstallMessageHandler(previous_);
    for (const Held& m : std::exchange(HeldMessages(), {})) {
        const QByteArray file = m.file.toUtf8(), function = m.function.toUtf8(), category = m.category.toUtf8();
        const QMessageLogContext context(file.constData(), m.line, function.constData(), category.constData());
        qt_message_output(m.type, context, m.text);
    }
}

}  // namespace tumblara
