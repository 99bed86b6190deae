// Keys from the platform's events to the game: their codes, the latches and
// repetition behind the main window's key filter, and the capture dialog.

#include "tests/input/QtTestKit.h"

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

// Keys of the main block by their place (Italian ò, AltGr+è, German dead ´ and
// Z, Shift+1, the ISO key beside the comma's), named keys by name, symbols
// without a keycode by their symbol. Where it opens, in both placements, the
// options window's tests show.
TEST(FrmKey, ClosesOnTheFirstKeyDownWhateverTheKeyHandingBackItsCodeIfItHasOne) {
    QWidget options;
    options.show();
    const std::pair<std::vector<Key>, int> cases[] = {
        {{{Qt::Key_Ograve, 47}}, 0xBA}, {{{Qt::Key_BracketLeft, 34}}, 0xDB}, {{{Qt::Key_Dead_Acute, 21}}, 0xBB},
        {{{Qt::Key_Z, 29}}, 0x59}, {{{Qt::Key_Exclam, 10}}, 0x31}, {{{Qt::Key_Less, 94}}, 0xE2},
        {{{Qt::Key_Comma, 59}}, 0xBC}, {{{Qt::Key_Dead_Circumflex, 49}}, 0xC0}, {{{Qt::Key_Down, 116}}, 0x28},
        {{{Qt::Key_F24}}, 0x87}, {{{Qt::Key_9, 81, true}}, 0x69}, {{{Qt::Key_Home, 79, true}}, 0x24},
        {{{Qt::Key_Comma, 0, true}}, 0x6E}, {{{Qt::Key_Exclam}}, 0x31}, {{{Qt::Key_Less}}, 0xE2},
        {{{Qt::Key_Escape, 9}}, 27}, {{{Qt::Key_Shift, 50}, {Qt::Key_A, 38}}, 16}, {{{Qt::Key_Egrave}}, -1}, {{}, -1},
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
