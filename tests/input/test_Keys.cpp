// Keys from the platform's events to the game: their codes, the latches and
// repetition behind the main window's key filter, and the capture dialog.

#include <set>

#include "tests/support/QtTestKit.h"

namespace tumblara::testing {
namespace {

struct Key { int qt; std::uint32_t scan = 0; bool keypad = false; };  // scan: X keycode, evdev + 8
void Send(QObject* to, QEvent::Type type, Key k, bool autoRepeat = false) {
    QKeyEvent e(type, k.qt, k.keypad ? Qt::KeypadModifier : Qt::NoModifier, k.scan, 0, 0, QString(), autoRepeat);
    QCoreApplication::sendEvent(to, &e);
}

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

TEST(Keys, ScriptsOfKeyEventsThroughTheMainWindowFollowTheLatchesRepetitionAndFirstMatch) {
    constexpr std::string_view kLetters = "RLDSAV";
    constexpr std::array kKeys{Qt::Key_Right, Qt::Key_Left, Qt::Key_Down, Qt::Key_Space, Qt::Key_A, Qt::Key_LaunchG};
    for (const Script& s : kScripts) {
        frmGame form;
        PlayATInColumnSix(form);
        GameState& state = form.game().state;
        Repetition(state, s.repeat ? 1 : 2);
        for (char a : std::string_view(s.onA)) SetKey(state, static_cast<int>(kLetters.find(a)) + 1, 0x41);
        QWidget* focus = form.elementi().Text4;  // a child that takes the focus on a click
        int last = 0, drops = 0;
        for (char e : std::string_view(s.events)) {
            form.services().SetTimerInterval(TimerId::Timer1, 300);
            if (const auto i = kLetters.find(e); i != std::string_view::npos) Send(focus, QEvent::KeyPress, {last = kKeys[i]});
            if (e == 'u' || e == '+') Send(focus, QEvent::KeyRelease, {last}, e == '+');
            if (e == '+') Send(focus, QEvent::KeyPress, {last}, true);
            if (QEvent deactivate(QEvent::WindowDeactivate); e == 'x') QCoreApplication::sendEvent(&form, &deactivate);
            state.InGioco ^= e == 'p';
            drops += form.services().Interval(TimerId::Timer1) == 20;
        }
        const int column = static_cast<int>(form.services().SpriteLeft(1)) / state.Cella;
        EXPECT_EQ(std::to_string(column) + " " + std::to_string(state.RotPezzo) + " " + std::to_string(drops), s.outcome)
            << s.events << (s.repeat ? " repeating" : "");
    }
}

// Each place of the main block, and the ISO key, has a code of its own
// whatever the layout prints on it (here a dead key); the rows of letters and
// digits give the US keyboard's.
TEST(KeyCodes, EveryPlaceOfTheMainBlockHasACodeOfItsOwnAndTheRowsAreTheUSKeyboards) {
    std::set<std::int16_t> codes;
    for (const auto& [first, last] : {std::pair(10, 21), {24, 35}, {38, 49}, {51, 61}, {94, 94}}) {
        for (int place = first; place <= last; ++place) {
            const auto code = VirtualKeyCode(Qt::Key_Dead_Acute, false, static_cast<std::uint32_t>(place));
            EXPECT_TRUE(codes.insert(code.value_or(0)).second) << "X keycode " << place;
        }
    }
    for (auto [place, row] : {std::pair(10u, std::string_view("1234567890")), {24u, "QWERTYUIOP"}, {38u, "ASDFGHJKL"}})
        for (const char key : row) EXPECT_EQ(VirtualKeyCode(Qt::Key_Dead_Acute, false, place++), key);
}

// The dialog hands back the code of the first key-down, whatever the key (a
// modifier, Escape, the keypad with Num Lock on and off, a symbol without a
// keycode), and closes; a key without a code, or the window system, closes it
// with none. Where it opens, in both placements, the options window's tests show.
TEST(FrmKey, ClosesOnTheFirstKeyDownWhateverTheKeyHandingBackItsCodeIfItHasOne) {
    QWidget options;
    options.show();
    const std::pair<std::vector<Key>, int> cases[] = {
        {{{Qt::Key_Escape, 9}}, 27}, {{{Qt::Key_Shift, 50}, {Qt::Key_A, 38}}, 16}, {{{Qt::Key_9, 81, true}}, 0x69},
        {{{Qt::Key_Home, 79, true}}, 0x24}, {{{Qt::Key_Exclam}}, 0x31}, {{{Qt::Key_Egrave}}, -1}, {{}, -1},
    };
    for (const auto& [keys, code] : cases) {
        frmKey dialog(&options, "ROTAZIONE ...", "<Barra spaziatrice>");
        bool open = true;
        ModalDriver driver([&](QWidget* shown) {
            EXPECT_EQ(dialog.Label2().geometry(), QRect(QPoint(88, 96), dialog.Label2().sizeHint()));
            for (const Key& key : keys) Send(shown, QEvent::KeyPress, key);
            if (keys.empty()) shown->close();  // by the window system
            open = shown->isVisible();
        });
        EXPECT_EQ(dialog.Cattura().value_or(-1), code);
        EXPECT_FALSE(open);
    }
}

}  // namespace
}  // namespace tumblara::testing
