#include "ui/QtServices.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTime>
#include <algorithm>
#include <climits>

#include "ui/BlinkingLabel.h"
#include "ui/Canvas.h"

namespace tumblara {
namespace {

// Labels that take the size of their caption; the menu keeps its fixed size.
bool SizedToText(LabelId id) { return id == LabelId::Label2 || id == LabelId::Label3; }

// The wave files lie beside the program in a build tree; once installed they
// are where the build placed them relative to the program's folder.
QString CartellaSuoni() {
    const QString programma = QCoreApplication::applicationDirPath();
    if (QFileInfo::exists(programma + QStringLiteral("/Impact02.wav"))) return programma;
    const QString installata = QDir::cleanPath(programma + QStringLiteral("/" TUMBLARA_WAVES_FROM_PROGRAM));
    return QFileInfo::exists(installata) ? installata : programma;
}

}  // namespace

QtServices::QtServices(Canvas& canvas, std::array<QLabel*, 7> labels)
    : canvas_(canvas), labels_(labels), banner_(new BlinkingLabel(Label(LabelId::Label3))), sound_(CartellaSuoni()) {
    for (QTimer* t : {&timer1_, &timer2_}) t->setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer1_, &QTimer::timeout, [this] {
        if (!quitting_ && onTimer1_) onTimer1_();
    });
    QObject::connect(&timer2_, &QTimer::timeout, [this] {
        if (!quitting_ && onTimer2_) onTimer2_();
    });
}

QtServices::~QtServices() = default;

void QtServices::OnTick(TimerId timer, std::function<void()> handler) {
    (timer == TimerId::Timer1 ? onTimer1_ : onTimer2_) = std::move(handler);
}

float QtServices::SpriteLeft(int k) const { return canvas_.SpriteLeft(k); }
float QtServices::SpriteTop(int k) const { return canvas_.SpriteTop(k); }
void QtServices::MoveSprite(int k, float left, float top) { canvas_.MoveSprite(k, left, top); }
void QtServices::SetSpritePicture(int k, int picture) { canvas_.SetSpritePicture(k, picture); }
void QtServices::SetRetainedBackground(bool on) { canvas_.SetRetained(on); }
void QtServices::FillBlack(int x1, int y1, int x2, int y2) { canvas_.FillBlack(x1, y1, x2, y2); }
void QtServices::PaintPicture(int picture, int left, int top, int size) {
    canvas_.PaintPicture(picture, left, top, size);
}

void QtServices::SetTimerInterval(TimerId timer, std::int32_t milliseconds) {
    QTimer& t = TimerOf(timer);
    // For QTimer 0 means "as fast as possible"; here it means stopped.
    if (milliseconds <= 0 || quitting_) {
        t.stop();
        return;
    }
    t.start(milliseconds);  // restarts the period, as a new interval does
}

std::int32_t QtServices::Interval(TimerId timer) const {
    const QTimer& t = TimerOf(timer);
    return t.isActive() ? t.interval() : 0;
}

void QtServices::SetCaption(LabelId label, std::string_view caption) {
    QLabel* l = Label(label);
    l->setText(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
    if (SizedToText(label)) l->adjustSize();
}

std::string QtServices::Caption(LabelId label) const { return Label(label)->text().toStdString(); }

void QtServices::SetVisible(LabelId label, bool visible) {
    if (label == LabelId::Label3)
        banner_->SetShown(visible);
    else
        Label(label)->setVisible(visible);
}

// The label's own flag, also while the window itself is not shown.
bool QtServices::IsVisible(LabelId label) const {
    return label == LabelId::Label3 ? banner_->Shown() : !Label(label)->isHidden();
}

void QtServices::PlaySound(std::string_view fileName) {
    if (!quitting_) sound_.Play(fileName);
}

float QtServices::TimeOfDay() const {
    return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
}

std::chrono::milliseconds QtServices::Monotonic() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
}

float QtServices::Rnd() { return random_.Next(); }
void QtServices::Randomize(float seed) { random_.Seed(seed); }

void QtServices::WaitForEvents(std::optional<std::chrono::milliseconds> timeout) {
    if (quitting_) return;
    if (timeout && timeout->count() <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    // A single-shot timer bounds the blocking wait; its own tick counts as
    // the event that ends it.
    QTimer wake;
    if (timeout) {
        wake.setSingleShot(true);
        wake.setTimerType(Qt::PreciseTimer);
        wake.start(static_cast<int>(std::min<std::chrono::milliseconds::rep>(timeout->count(), INT_MAX)));
    }
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void QtServices::Quit() {
    quitting_ = true;
    timer1_.stop();
    timer2_.stop();
    QCoreApplication::exit(0);
    // A hand-written wait blocked in the dispatcher is not ended by exit().
    if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance()) d->wakeUp();
}

}  // namespace tumblara
