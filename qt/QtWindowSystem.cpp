#include "qt/QtWindowSystem.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QScreen>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QTime>
#include <algorithm>
#include <climits>

#include "packaging/icon/TFigure.h"
#include "qt/BlinkingLabel.h"
#include "qt/Canvas.h"
#include "qt/QtColori.h"
#include "qt/QtInput.h"
#include "qt/QtWindows.h"
#include "qt/X11Platform.h"

namespace tumblara {
namespace {

// The wave files lie beside the program in a build tree; once installed they
// are where the build placed them relative to the program's folder.
QString CartellaSuoni() {
    const QString programma = QCoreApplication::applicationDirPath();
    if (QFileInfo::exists(programma + QStringLiteral("/Impact02.wav"))) return programma;
    const QString installata = QDir::cleanPath(programma + QStringLiteral("/" TUMBLARA_WAVES_FROM_PROGRAM));
    return QFileInfo::exists(installata) ? installata : programma;
}

QString Testo(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr double kTwipsPerInch = 1440.0;
double PerPixel(double dpi) { return kTwipsPerInch / (dpi > 0 ? dpi : 96.0); }

}  // namespace

QtWindowSystem::QtWindowSystem()
    : input_(std::make_unique<QtInput>(*this)),
      sound_(CartellaSuoni()),
      placement_(PlacementFor(QGuiApplication::platformName())) {
    for (QTimer* t : {&timer1_, &timer2_}) t->setTimerType(Qt::PreciseTimer);
    for (const TimerId id : {TimerId::Timer1, TimerId::Timer2}) {
        QObject::connect(&TimerOf(id), &QTimer::timeout, [this, id] {
            if (WindowEvents* e = Receiver(FormId::frmGame)) e->Tick(id);
        });
    }
}

QtWindowSystem::~QtWindowSystem() {
    for (const FormId f : {FormId::frmKey, FormId::frmOption, FormId::frmGame}) Destroy(f);
}

WindowEvents* QtWindowSystem::Receiver(FormId form) const {
    return quitting_ ? nullptr : forms_.at(Index(form)).events;
}

// --- The canvas, the timers and the rest of the engine's services

float QtWindowSystem::SpriteLeft(int k) const { return canvas_->SpriteLeft(k); }
float QtWindowSystem::SpriteTop(int k) const { return canvas_->SpriteTop(k); }
void QtWindowSystem::MoveSprite(int k, float left, float top) { canvas_->MoveSprite(k, left, top); }
void QtWindowSystem::SetSpritePicture(int k, int picture) { canvas_->SetSpritePicture(k, picture); }
void QtWindowSystem::SizeSprite(int k, int size) { canvas_->SizeSprite(k, size); }
void QtWindowSystem::SetRetainedBackground(bool on) { canvas_->SetRetained(on); }
void QtWindowSystem::FillBlack(int x1, int y1, int x2, int y2) { canvas_->FillBlack(x1, y1, x2, y2); }
void QtWindowSystem::PaintPicture(int picture, int left, int top, int size) {
    canvas_->PaintPicture(picture, left, top, size);
}
void QtWindowSystem::SetFrame(PixelRect r, Colour outline) {
    canvas_->SetFrame({r.left, r.top, r.width, r.height}, ColoreBGR(outline));
}

void QtWindowSystem::SetTimerInterval(TimerId timer, std::int32_t milliseconds) {
    QTimer& t = TimerOf(timer);
    // For QTimer 0 means "as fast as possible"; here it means stopped.
    if (milliseconds <= 0 || quitting_) {
        t.stop();
        return;
    }
    t.start(milliseconds);  // restarts the period, as a new interval does
}

std::int32_t QtWindowSystem::Interval(TimerId timer) const {
    const QTimer& t = TimerOf(timer);
    return t.isActive() ? t.interval() : 0;
}

void QtWindowSystem::PlaySound(std::string_view fileName) {
    if (!quitting_) sound_.Play(fileName);
}

float QtWindowSystem::TimeOfDay() const {
    return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
}

std::chrono::milliseconds QtWindowSystem::Monotonic() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
}

float QtWindowSystem::Rnd() { return random_.Next(); }
void QtWindowSystem::Randomize(float seed) { random_.Seed(seed); }

void QtWindowSystem::WaitForEvents(std::optional<std::chrono::milliseconds> timeout) {
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

void QtWindowSystem::Quit() {
    quitting_ = true;
    timer1_.stop();
    timer2_.stop();
    QCoreApplication::exit(0);
    // A hand-written wait blocked in the dispatcher is not ended by exit().
    if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance()) d->wakeUp();
}

ScreenMetrics QtWindowSystem::Screen() const {
    const QWidget* main = Window(FormId::frmGame);
    const QScreen* s = main != nullptr ? main->screen() : QGuiApplication::primaryScreen();
    if (s == nullptr) return {};
    const QRect g = s->geometry();
    return {g.width(), g.height(), PerPixel(s->logicalDotsPerInchX()), PerPixel(s->logicalDotsPerInchY())};
}

// Window positions are counted from the top-left corner of the game's screen.
QPoint QtWindowSystem::Origin() const {
    const QWidget* main = Window(FormId::frmGame);
    const QScreen* s = main != nullptr ? main->screen() : QGuiApplication::primaryScreen();
    return s != nullptr ? s->geometry().topLeft() : QPoint();
}

// --- Windows

void QtWindowSystem::OpenWindow(FormId form, WindowEvents& events) {
    Destroy(form);
    if (form == FormId::frmGame)
        OpenMain(events);
    else
        OpenDialog(form, events);
    forms_.at(Index(form)).events = &events;
}

QLabel* QtWindowSystem::NewLabel(ElementId element, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setMargin(0);
    elements_.at(Index(element)) = l;
    autoSize_.at(Index(element)) = false;
    centred_.at(Index(element)) = false;
    return l;
}

void QtWindowSystem::OpenMain(WindowEvents& /*events*/) {
    auto* main = new QtMainWindow(*this);
    forms_.at(Index(FormId::frmGame)).window = main;
    QIcon icona;
    for (int lato : {16, 32, 48}) icona.addPixmap(QPixmap::fromImage(IconaT(lato)));
    main->setWindowIcon(icona);
    // Created first, so every later sibling stacks above it.
    canvas_ = new Canvas(main);
    input_->Watch(canvas_, FormId::frmGame, ElementId::Background);
    for (const ElementId e : {ElementId::Menu0, ElementId::Menu1, ElementId::Menu2, ElementId::Menu3,
                              ElementId::Menu4, ElementId::Label2, ElementId::Label3, ElementId::Label4}) {
        QLabel* l = NewLabel(e, main);
        if (e > ElementId::Menu4) continue;
        // The menu reacts to the pointer passing over it.
        l->setMouseTracking(true);
        input_->Watch(l, FormId::frmGame, e);
    }
    // Blinked many times a second without asking Qt to hide and show it.
    Label(ElementId::Label3)->hide();
    banner_ = new BlinkingLabel(Label(ElementId::Label3));

    auto* t = new QTextEdit(main);
    t->setReadOnly(true);
    // Out of the Tab order; a click still focuses it.
    t->setFocusPolicy(Qt::ClickFocus);
    t->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    t->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    elements_.at(Index(ElementId::Text4)) = t;
    input_->Watch(t->viewport(), FormId::frmGame, ElementId::Text4);
    // Close requests that Qt would drop while a modal window is open.
    x11_ = std::make_unique<X11Platform>(*main, [this] {
        if (WindowEvents* e = Receiver(FormId::frmGame)) e->CloseRequest();
    });
}

void QtWindowSystem::OpenDialog(FormId form, WindowEvents& /*events*/) {
    QWidget* main = Window(FormId::frmGame);
    QWidget* parent = form == FormId::frmKey ? Window(FormId::frmOption) : main;
    auto* dialog = new QtDialog(*this, form, parent != nullptr ? parent : main);
    forms_.at(Index(form)).window = dialog;
    // An options window realised inside the main window has its dialog there too.
    const bool inside = form == FormId::frmKey && parent != nullptr ? !parent->isWindow()
                                                                     : placement_ == DialogPlacement::InsideMainWindow;
    if (inside && main != nullptr) RealiseInside(*dialog, *main);
    // Moves over the window's own background clear the highlight.
    dialog->setMouseTracking(true);
    input_->Watch(dialog, form, ElementId::Background);
    const auto labels = form == FormId::frmOption
                            ? std::vector{ElementId::Opzione0, ElementId::Opzione1, ElementId::Opzione2}
                            : std::vector{ElementId::Cattura1, ElementId::Cattura2};
    for (const ElementId e : labels) {
        QLabel* l = NewLabel(e, dialog);
        // Moves over a label are its own; they must not reach the background,
        // which would clear the highlight at once.
        l->setMouseTracking(true);
        input_->Watch(l, form, e);
    }
}

void QtWindowSystem::SetWindowLook(FormId form, std::string_view title, Colour background) {
    QWidget* w = Window(form);
    w->setWindowTitle(Testo(title));
    Colora(w, kPredefinito, background);
}

void QtWindowSystem::MoveWindow(FormId form, PixelRect r) {
    QWidget* w = Window(form);
    const QPoint onScreen = Origin() + QPoint(r.left, r.top);
    if (form == FormId::frmGame) {
        // Without a window manager a full-screen request alone leaves the
        // window at its default size.
        w->setGeometry(QRect(onScreen, QSize(r.width, r.height)));
        return;
    }
    MoveToScreenPoint(*w, onScreen);
    w->resize(r.width, r.height);
}

PixelRect QtWindowSystem::WindowRect(FormId form) const {
    const QWidget* w = Window(form);
    if (w == nullptr) return {};
    const QPoint p = ScreenTopLeft(*w) - Origin();
    const QSize s = w->frameGeometry().size();
    return {p.x(), p.y(), s.width(), s.height()};
}

void QtWindowSystem::ShowMain() {
    if (QWidget* main = Window(FormId::frmGame)) main->showFullScreen();
}

void QtWindowSystem::ShowModal(FormId form) {
    Form& f = forms_.at(Index(form));
    auto* dialog = qobject_cast<QDialog*>(f.window.data());
    if (dialog == nullptr || quitting_) return;
    f.modal = true;
    dialog->exec();
    f.modal = false;
    if (f.closed) Destroy(form);
}

void QtWindowSystem::CloseWindow(FormId form) {
    Form& f = forms_.at(Index(form));
    f.events = nullptr;
    if (!f.modal) {
        Destroy(form);
        return;
    }
    // Its exec() ends once the handler that closed it returns; the dialog
    // goes then.
    f.closed = true;
    if (auto* dialog = qobject_cast<QDialog*>(f.window.data())) dialog->done(QDialog::Accepted);
}

void QtWindowSystem::Destroy(FormId form) {
    Form& f = forms_.at(Index(form));
    for (int e = 0; e < kNumeroElementi; ++e)
        if (FormOf(static_cast<ElementId>(e)) == form) elements_.at(static_cast<std::size_t>(e)) = nullptr;
    if (form == FormId::frmGame) {
        x11_.reset();
        canvas_ = nullptr;
        banner_ = nullptr;
    }
    delete f.window.data();
    f = Form{};
}

// --- Labels and the text box

QLabel* QtWindowSystem::Label(ElementId element) const { return qobject_cast<QLabel*>(Widget(element)); }

void QtWindowSystem::SetFont(ElementId element, const Font& font) {
    QFont f = font.family.empty() ? QFont() : QFont(Testo(font.family));
    if (font.points > 0) f.setPointSizeF(font.points);
    f.setBold(font.bold);
    Widget(element)->setFont(f);
    if (autoSize_.at(Index(element))) Widget(element)->adjustSize();
}

void QtWindowSystem::SetColours(ElementId element, Colour text, Colour background) {
    if (element != ElementId::Text4) {
        Colora(Widget(element), text, background);
        return;
    }
    // A text box shows its base colour behind the text.
    QPalette pal = Widget(element)->palette();
    if (text != kPredefinito) pal.setColor(QPalette::Text, ColoreBGR(text));
    if (background != kTrasparente) pal.setColor(QPalette::Base, ColoreBGR(background));
    Widget(element)->setPalette(pal);
}

void QtWindowSystem::SetAlignment(ElementId element, Alignment alignment) {
    centred_.at(Index(element)) = alignment == Alignment::Centre;
    if (QLabel* l = Label(element)) {
        l->setAlignment(alignment == Alignment::Centre ? Qt::AlignHCenter | Qt::AlignTop
                                                       : Qt::AlignLeft | Qt::AlignVCenter);
        return;
    }
    auto* t = static_cast<QTextEdit*>(Widget(element));
    QTextCursor all(t->document());
    all.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setAlignment(alignment == Alignment::Centre ? Qt::AlignHCenter : Qt::AlignLeft);
    all.mergeBlockFormat(format);
}

void QtWindowSystem::SetAutoSize(ElementId element, bool autoSize) {
    autoSize_.at(Index(element)) = autoSize;
    if (autoSize) Widget(element)->adjustSize();
}

void QtWindowSystem::SetText(ElementId element, std::string_view text) {
    if (QLabel* l = Label(element)) {
        l->setText(Testo(text));
        if (autoSize_.at(Index(element))) l->adjustSize();
        return;
    }
    static_cast<QTextEdit*>(Widget(element))->setPlainText(Testo(text));
    SetAlignment(element, centred_.at(Index(element)) ? Alignment::Centre : Alignment::Left);
}

std::string QtWindowSystem::Text(ElementId element) const {
    if (const QLabel* l = Label(element)) return l->text().toStdString();
    return static_cast<const QTextEdit*>(Widget(element))->toPlainText().toStdString();
}

void QtWindowSystem::SetShown(ElementId element, bool shown) {
    if (element == ElementId::Label3)
        banner_->SetShown(shown);
    else
        Widget(element)->setVisible(shown);
}

// The element's own flag, also while the window itself is not shown.
bool QtWindowSystem::Shown(ElementId element) const {
    return element == ElementId::Label3 ? banner_->Shown() : !Widget(element)->isHidden();
}

void QtWindowSystem::MoveElement(ElementId element, PixelRect r) {
    QWidget* w = Widget(element);
    if (r.width < 0 || r.height < 0)
        w->move(r.left, r.top);
    else
        w->setGeometry(r.left, r.top, r.width, r.height);
}

}  // namespace tumblara
