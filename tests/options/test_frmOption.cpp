// The options window, as a window of its own and realised inside the main
// window: where it opens, its three labels, the repetition switch, the
// four-key capture sequence and the hover highlight.

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTest>

#include "engine/GameState.h"
#include "input/frmKey.h"
#include "options/frmOption.h"
#include "tests/input/ModalDriver.h"

namespace tumblara::testing {
namespace {

using Bindings = std::array<std::int32_t, 4>;
const QString kLit = "#ffff00 on #ff0000", kPlain = "#000000 on #800000";

class FrmOption : public ::testing::TestWithParam<DialogPlacement> {
protected:
    void SetUp() override {
        mainWindow.setGeometry(0, 0, 800, 600);
        mainWindow.show();
        options.show();
    }
    // "Opzioni" is the fourth menu label at the right edge of the 800-pixel-wide
    // test screen.
    QLabel* Opzioni() {
        auto* label = new QLabel("Opzioni", &mainWindow);
        label->setGeometry(600, 180, 200, 35);
        return label;
    }
    Bindings Keys() const { return {state.TastoDestra, state.TastoSinistra, state.TastoCaduta, state.TastoRotazione}; }
    static void MoveOver(QWidget* w, QPoint at = {10, 10}) {
        QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &move);
    }
    static QString Colours(const QLabel* l) {
        return l->palette().color(QPalette::WindowText).name() + " on " + l->palette().color(QPalette::Window).name();
    }
    // Clicks "Tasti Personalizzati" and hands each capture dialog to `drive`
    // with its number, from 1.
    void CaptureKeys(const std::function<void(frmKey*, int)>& drive) {
        int shown = 0;
        ModalDriver driver([&](QWidget* modal) { drive(qobject_cast<frmKey*>(modal), ++shown); });
        QTest::mouseClick(options.Label1[0], Qt::LeftButton);
    }

    GameState state;
    QWidget mainWindow{nullptr, Qt::FramelessWindowHint};
    QLabel* opzioni = Opzioni();
    frmOption options{state, opzioni, &mainWindow, GetParam()};
};

INSTANTIATE_TEST_SUITE_P(, FrmOption, ::testing::Values(DialogPlacement::OwnWindow, DialogPlacement::InsideMainWindow),
                         PlacementName);

TEST_P(FrmOption, OpensAtTheScreensRightEdgeJustUnderTheOptionsLabelAsThreeBandsAFifthHigh) {
    // 3744 x 2220 twips at 15 twips to the pixel; the label ends at y = 215.
    EXPECT_EQ(options.isWindow(), GetParam() == DialogPlacement::OwnWindow);
    EXPECT_EQ(QRect(ScreenTopLeft(options), options.size()), QRect(550, 215, 250, 148));
    const int tops[] = {0, 49, 99};  // a third of 148 is 49.3; a fifth, 29.6, rounds to 30
    const char* texts[] = {"Tasti Personalizzati", "Tasti a ripetizione", "Chiudi le Opzioni"};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(options.Label1[i]->geometry(), QRect(0, tops[i], 250, 30)) << i;
        EXPECT_EQ(options.Label1[i]->text(), texts[i]);
    }
    QWidget column(&mainWindow);
    column.setGeometry(600, 40, 200, 300);
    QLabel nested("Opzioni", &column);
    nested.setGeometry(0, 100, 200, 35);
    EXPECT_EQ(frmOption(state, &nested, &mainWindow, GetParam()).pos(), QPoint(550, 175)) << "the label's bottom in the window";
}

TEST_P(FrmOption, MiddleLabelNamesTheSettingItsClickSelectsExactlyAndTheClickCloses) {
    QTest::mouseClick(options.Label1[1], Qt::LeftButton);
    EXPECT_TRUE(state.Ripetizione);
    EXPECT_FALSE(options.isVisible());
    frmOption again(state, opzioni, &mainWindow, GetParam());
    EXPECT_EQ(again.Label1[1]->text(), "Tasti non a ripetizione");
    again.Label1_Click(1);
    EXPECT_FALSE(state.Ripetizione);
    again.Label1[1]->setText("Tasti a ripetizione ");
    again.Label1_Click(1);
    EXPECT_FALSE(state.Ripetizione) << "only the exact text turns repetition on";
}

TEST_P(FrmOption, CustomKeysAskForTheFourActionsInTurnUnderTheWindowBindingEachAtOnce) {
    std::vector<QString> asked;
    std::vector<Bindings> before;
    CaptureKeys([&](frmKey* capture, int shown) {
        asked.push_back(capture->Label1->text() + " " + capture->Label2->text());
        EXPECT_EQ(capture->isWindow(), options.isWindow()) << shown;
        EXPECT_EQ(QRect(ScreenTopLeft(*capture), capture->size()), QRect(550, 363, 250, 142)) << shown;
        before.push_back(Keys());
        // Through the window, as the window system delivers keys: to its focus.
        QTest::keyClick(capture->window()->windowHandle(), std::array{Qt::Key_A, Qt::Key_D, Qt::Key_S, Qt::Key_W}[shown - 1]);
    });
    EXPECT_EQ(asked, (std::vector<QString>{"Spostamento a DESTRA ... <Freccia a destra>",
                                           "Spostamento a SINISTRA ... <Freccia a sinistra>",
                                           QString::fromUtf8("Caduta rapida ... <Freccia giù>"),
                                           "ROTAZIONE ... <Barra spaziatrice>"}));
    EXPECT_EQ(before, (std::vector<Bindings>{{39, 37, 40, 32}, {65, 37, 40, 32}, {65, 68, 40, 32}, {65, 68, 83, 32}}));
    EXPECT_EQ(Keys(), (Bindings{65, 68, 83, 87}));
    EXPECT_FALSE(options.isVisible());
}

TEST_P(FrmOption, CaptureClosedWithoutAKeyKeepsThatBindingAndTheSequenceGoesOn) {
    CaptureKeys([](frmKey* capture, int shown) {
        if (shown == 2) capture->close();  // by the window system
        else QTest::keyClick(capture, shown == 3 ? Qt::Key_Escape : Qt::Key_A);
    });
    EXPECT_EQ(Keys(), (Bindings{65, 37, 27, 65}));
}

TEST_P(FrmOption, ProgramEndingDuringTheSequenceStopsItAndLeavesTheRestAsItWas) {
    QTimer::singleShot(0, [&] {
        CaptureKeys([](frmKey* capture, int shown) {
            if (shown == 1) QTest::keyClick(capture, Qt::Key_A);
            else QCoreApplication::exit(0);  // the main window was closed meanwhile
        });
    });
    QCoreApplication::exec();
    EXPECT_EQ(Keys(), (Bindings{65, 37, 40, 32}));
    EXPECT_TRUE(options.isVisible()) << "neither a further capture nor the end of the sequence";
}

TEST_P(FrmOption, KeysDoNothingAndEscapeDoesNotCloseButChiudiDoesChangingNothing) {
    options.hide();
    bool openAfterKeys = false;
    ModalDriver driver([&](QWidget* modal) {
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space, Qt::Key_Down}) QTest::keyClick(modal, key);
        openAfterKeys = modal->isVisible();
        QTest::mouseClick(options.Label1[2], Qt::LeftButton);
    });
    EXPECT_EQ(options.exec(), QDialog::Accepted);
    EXPECT_TRUE(openAfterKeys);
    EXPECT_EQ(Keys(), (Bindings{39, 37, 40, 32}));
    EXPECT_FALSE(state.Ripetizione);
}

TEST_P(FrmOption, OneLabelHighlightsAtATimeAndOnlyTheBackgroundClearsIt) {
    MoveOver(options.Label1[2]);
    EXPECT_EQ(Colours(options.Label1[2]), kLit) << "the move over the label must not reach the background";
    MoveOver(options.Label1[0]);  // straight from one label to another: the first keeps it
    EXPECT_EQ(Colours(options.Label1[2]), kLit);
    EXPECT_EQ(Colours(options.Label1[0]), kPlain);
    MoveOver(&options, QPoint(125, 40));
    for (const QLabel* label : options.Label1) EXPECT_EQ(Colours(label), kPlain);
    MoveOver(options.Label1[0]);
    EXPECT_EQ(Colours(options.Label1[0]), kLit);
}

}  // namespace
}  // namespace tumblara::testing
