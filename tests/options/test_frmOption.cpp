// The options window on the fake window system, opened from the menu: where
// it opens, the repetition switch, the four-key capture sequence, and the end
// of the program during it. Its hover highlight is the menu's, tested there.

#include <gtest/gtest.h>

#include "tests/support/FakeWindowSystem.h"

namespace tumblara::testing {
namespace {

constexpr auto kOptions = FormId::frmOption;

class FrmOption : public ::testing::Test, protected ProgramOnFake {
protected:
    // Opens the options window from the menu, then runs `steps` 10 ms apart,
    // each while the window is open; false when it is still open at the end.
    // What the window showed stays to be read once it is closed.
    bool Opened(const std::vector<std::function<void()>>& steps) {
        At(0, [this] { Click(FormId::frmGame, ElementId::Menu3); });
        int at = 0;
        for (const auto& step : steps) At(at += 10, step);
        return RunFor(at + 10) && sys.Receiver(kOptions) == nullptr;
    }
    std::string Keys() const {
        std::string keys;
        for (auto k : {state.TastoDestra, state.TastoSinistra, state.TastoCaduta, state.TastoRotazione})
            keys += std::to_string(k) + " ";
        return keys;
    }
};

// 3744 x 2220 twips at 15 twips to the pixel, its right edge on the screen's
// (480 pixels) and its top under the "Opzioni" label (180 + 35); three bands
// a fifth of its height, a third apart.
TEST_F(FrmOption, OpensAtTheRightEdgeUnderTheOptionsLabelInThreeBands) {
    EXPECT_TRUE(Opened({[&] { Click(kOptions, ElementId::Opzione2); }}));  // "Chiudi": no capture left waiting
    EXPECT_EQ(sys.WindowRect(kOptions), (PixelRect{230, 215, 250, 148}));
    EXPECT_EQ(sys.Rect(ElementId::Opzione0), (PixelRect{0, 0, 250, 30}));
    EXPECT_EQ(sys.Rect(ElementId::Opzione2), (PixelRect{0, 99, 250, 30}));
}

// The middle label names the setting a click selects, read afresh at each opening.
TEST_F(FrmOption, TheRepetitionLabelSelectsTheSettingItNamesAndReadsRightAtTheNextOpening) {
    for (const bool on : {true, false, true}) {
        EXPECT_TRUE(Opened({[&] { Click(kOptions, ElementId::Opzione1); }}));
        EXPECT_EQ(sys.Text(ElementId::Opzione1), on ? "Tasti a ripetizione" : "Tasti non a ripetizione");
        EXPECT_EQ(state.Ripetizione, on);
    }
}

// Each action is asked for in turn, the dialog under the options window and as
// wide, and bound at once to the first key-down. A dialog closed by a key
// without a code, or by the window system, leaves its binding.
TEST_F(FrmOption, CustomKeysAskForTheFourActionsInTurnUnderTheWindowBindingEachAtOnce) {
    std::vector<std::string> asked;
    const auto capture = [&](std::vector<int> keys) {
        return [&, keys] {
            asked.push_back(sys.Text(ElementId::Cattura1) + " " + sys.Text(ElementId::Cattura2) + " " + Keys());
            EXPECT_EQ(sys.WindowRect(FormId::frmKey), (PixelRect{230, 363, 250, 142}));
            for (int key : keys)
                if (WindowEvents* dialog = sys.Receiver(FormId::frmKey)) dialog->KeyDown(key, false);
            if (keys.empty()) To(FormId::frmKey).CloseRequest();
        };
    };
    EXPECT_TRUE(Opened({[&] { Click(kOptions, ElementId::Opzione0); }, capture({0x41, 0x44}), capture({0, 0x57}),
                        capture({27}), capture({})}));
    EXPECT_EQ(asked, (std::vector<std::string>{"Spostamento a DESTRA ... <Freccia a destra> 39 37 40 32 ",
                                               "Spostamento a SINISTRA ... <Freccia a sinistra> 65 37 40 32 ",
                                               "Caduta rapida ... <Freccia giù> 65 37 40 32 ",
                                               "ROTAZIONE ... <Barra spaziatrice> 65 37 27 32 "}));
    EXPECT_EQ(Keys(), "65 37 27 32 ");
}

// The main window closed by the window system during the sequence: no
// further capture dialog opens, so the last one asked for the first action.
TEST_F(FrmOption, TheProgramEndingDuringTheSequenceStopsIt) {
    Opened({[&] { Click(kOptions, ElementId::Opzione0); }, [&] { To(FormId::frmGame).CloseRequest(); }});
    EXPECT_EQ(sys.Text(ElementId::Cattura1), "Spostamento a DESTRA ...");
}

}  // namespace
}  // namespace tumblara::testing
