// Keys from the platform's events to the game: their codes, the latches and
// repetition behind the main window's key filter, and the capture dialog.

#include <gtest/gtest.h>

#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QTextEdit>
#include <string_view>

#include "input/Keyboard.h"
#include "input/VirtualKey.h"
#include "input/frmKey.h"
#include "tests/input/ModalDriver.h"
#include "ui/frmGame.h"

namespace tumblara::testing {
namespace {

struct Key { int qt; std::uint32_t scan = 0; bool keypad = false; };
QKeyEvent Event(QEvent::Type type, Key k, bool autoRepeat = false) {
    return {type, k.qt, k.keypad ? Qt::KeypadModifier : Qt::NoModifier, k.scan, 0, 0, QString(), autoRepeat};
}

TEST(VirtualKey, KeysOfTheMainBlockByTheirPlaceNamedKeysByNameAndSymbolsWithoutAKeycode) {
    const std::pair<Key, int> cases[] = {
        // Italian è ò à ù ì, German dead ^ and ´, AltGr+è, Shift+1, the ISO key beside the comma's.
        {{Qt::Key_Egrave, 34}, 0xDB}, {{Qt::Key_Ograve, 47}, 0xBA}, {{Qt::Key_Agrave, 48}, 0xDE},
        {{Qt::Key_Ugrave, 51}, 0xDC}, {{Qt::Key_Igrave, 21}, 0xBB}, {{Qt::Key_Dead_Circumflex, 49}, 0xC0},
        {{Qt::Key_Dead_Acute, 21}, 0xBB}, {{Qt::Key_BracketLeft, 34}, 0xDB}, {{Qt::Key_Exclam, 10}, 0x31},
        {{Qt::Key_Less, 94}, 0xE2}, {{Qt::Key_Comma, 59}, 0xBC}, {{Qt::Key_Z, 29}, 0x59}, {{Qt::Key_F24}, 0x87},
        {{Qt::Key_Down, 116}, 0x28}, {{Qt::Key_Shift, 50}, 0x10}, {{Qt::Key_9, 81, true}, 0x69},
        {{Qt::Key_Home, 79, true}, 0x24}, {{Qt::Key_Comma, 0, true}, 0x6E}, {{Qt::Key_Exclam}, 0x31},
        {{Qt::Key_Less}, 0xE2}, {{Qt::Key_A}, 0x41}, {{Qt::Key_Egrave}, -1}, {{Qt::Key_unknown, 0, true}, -1},
    };
    for (const auto& [key, code] : cases)
        EXPECT_EQ(VirtualKeyCode(Event(QEvent::KeyPress, key)).value_or(-1), code) << std::hex << key.qt << " " << key.scan;
}

// A game in play with a T pointing up whose block 1 stands in column 6,
// steered through the key filter of the real main window.
struct Play {
    Play() {
        form.game().state.InGioco = true;
        form.game().state.TipoPezzo = 7;
        form.services().MoveSprite(1, 6.0f * Cella(), 10.0f * Cella());
        form.game().Posiziona(false);
    }
    int Cella() { return form.game().state.Cella; }
    int Column() { return static_cast<int>(form.services().SpriteLeft(1)) / Cella(); }
    void Send(QEvent::Type type, Key key, bool autoRepeat = false) {
        QKeyEvent event = Event(type, key, autoRepeat);
        QCoreApplication::sendEvent(form.elementi().Text4, &event);  // a child that takes the focus on a click
    }
    frmGame form;
};

// One letter per event: R L D S A V press Right, Left, Down, Space, A and a
// key with no code; u releases; + is an auto-repeat of the last key pressed
// (a release and a press, as X11 and Wayland send them); x takes the keyboard
// away; p stops or restarts play. `onA` names the actions bound to A. The
// outcome is block 1's column, the rotation state and the fast drops started.
struct Script { bool repeat; const char* onA; const char* events; const char* outcome; };
constexpr Script kScripts[] = {
    {false, "", "R+++++", "7 0 0"},   {false, "", "RRuR", "8 0 0"},  {false, "", "RLSDuL", "6 0 0"},
    {false, "", "AR", "7 0 0"},       {false, "", "S++", "6 3 0"},   {false, "", "RDxR", "8 0 0"},
    {false, "", "pRLDSAp", "6 0 0"},  {false, "", "RpupR", "8 0 0"}, {false, "RLDS", "A", "7 0 0"},
    {false, "DS", "A", "6 0 1"},      {true, "", "R++L", "8 0 0"},   {true, "", "S++uD++", "6 3 1"},
    {true, "", "DSR", "7 0 1"},       {true, "", "DuSuD", "6 3 2"},  {true, "", "DAS", "6 3 1"},
    {true, "", "DVS", "6 3 1"},       {true, "", "DxD", "6 0 2"},
};

TEST(Keys, ScriptsOfKeyEventsFollowTheLatchesRepetitionAndFirstMatch) {
    constexpr std::string_view kLetters = "RLDSAV";
    constexpr std::array kKeys{Qt::Key_Right, Qt::Key_Left, Qt::Key_Down, Qt::Key_Space, Qt::Key_A, Qt::Key_LaunchG};
    for (const Script& s : kScripts) {
        Play p;
        GameState& state = p.form.game().state;
        Repetition(state, s.repeat ? 1 : 2);
        for (char a : std::string_view(s.onA)) SetKey(state, static_cast<int>(kLetters.find(a)) + 1, 0x41);
        int last = 0;
        int drops = 0;
        for (char e : std::string_view(s.events)) {
            p.form.services().SetTimerInterval(TimerId::Timer1, 300);
            if (const auto i = kLetters.find(e); i != std::string_view::npos) p.Send(QEvent::KeyPress, {last = kKeys[i]});
            if (e == 'u') p.Send(QEvent::KeyRelease, {last});
            if (e == '+') p.Send(QEvent::KeyRelease, {last}, true), p.Send(QEvent::KeyPress, {last}, true);
            QEvent deactivate(QEvent::WindowDeactivate);
            if (e == 'x') QCoreApplication::sendEvent(&p.form, &deactivate);
            if (e == 'p') state.InGioco = !state.InGioco;
            drops += p.form.services().Interval(TimerId::Timer1) == 20;
        }
        EXPECT_EQ(std::to_string(p.Column()) + " " + std::to_string(state.RotPezzo) + " " + std::to_string(drops),
                  s.outcome) << s.events << (s.repeat ? " repeating" : "");
    }
}

TEST(Keys, NoKeyReachesTheGameUnderAModalWindow) {
    Play p;
    QDialog dialog(&p.form);
    dialog.open();
    p.Send(QEvent::KeyPress, {Qt::Key_Right});
    dialog.hide();
    EXPECT_EQ(p.Column(), 6);
    p.Send(QEvent::KeyPress, {Qt::Key_Right});
    EXPECT_EQ(p.Column(), 7);
}

class FrmKey : public ::testing::TestWithParam<DialogPlacement> {
protected:
    void SetUp() override {
        mainWindow.setGeometry(0, 0, 800, 600);
        options->setGeometry(17, 301, 333, 99);
        mainWindow.show();
        options->show();
    }
    // The code a fresh dialog hands back while `drive` acts on it.
    std::optional<std::int16_t> Capture(const std::function<void(QWidget*)>& drive) {
        frmKey dialog(options, "Spostamento a DESTRA ...", "<Freccia a destra>");
        ModalDriver driver(drive);
        return dialog.Cattura();
    }
    QWidget mainWindow{nullptr, Qt::FramelessWindowHint};
    QWidget* options = GetParam() == DialogPlacement::OwnWindow
                           ? new QWidget(&mainWindow, Qt::Window | Qt::FramelessWindowHint)
                           : new QWidget(&mainWindow);
};
INSTANTIATE_TEST_SUITE_P(, FrmKey, ::testing::Values(DialogPlacement::OwnWindow, DialogPlacement::InsideMainWindow),
                         PlacementName);

TEST_P(FrmKey, OpensUnderTheOptionsWindowAsWideAsItAndHandsBackTheFirstKeyDownsCode) {
    Capture([](QWidget* dialog) {
        EXPECT_EQ(QRect(ScreenTopLeft(*dialog), dialog->size()), QRect(17, 400, 333, 142));  // 2136 twips
        const auto* d = static_cast<frmKey*>(dialog);
        EXPECT_EQ(d->Label2().geometry(), QRect(QPoint(88, 96), d->Label2().sizeHint()));
        dialog->close();
    });
    const std::pair<std::vector<Key>, int> cases[] = {
        {{{Qt::Key_Escape, 9}}, 27}, {{{Qt::Key_Shift, 50}, {Qt::Key_A, 38}}, 16}, {{{Qt::Key_Ograve, 47}}, 0xBA},
        {{{Qt::Key_Dead_Circumflex, 49}}, 0xC0}, {{{Qt::Key_Less, 94}}, 0xE2}, {{{Qt::Key_Egrave}}, -1}, {{}, -1},
    };
    for (const auto& [keys, code] : cases) {
        bool open = true;
        const auto got = Capture([&](QWidget* dialog) {
            for (const Key& key : keys) {
                QKeyEvent event = Event(QEvent::KeyPress, key);
                QCoreApplication::sendEvent(dialog, &event);
            }
            if (keys.empty()) dialog->close();  // by the window system
            open = dialog->isVisible();
        });
        EXPECT_EQ(got.value_or(-1), code);
        EXPECT_FALSE(open) << "the first key-down closes it, whatever the key";
    }
}

}  // namespace
}  // namespace tumblara::testing
