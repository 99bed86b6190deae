// The options window, as a window of its own and realised inside the main
// window: where it opens, the repetition switch and the four-key capture
// sequence. Its hover highlight is the main menu's, tested there.

#include "tests/support/QtTestKit.h"

namespace tumblara::testing {
namespace {

class FrmOption : public ::testing::TestWithParam<DialogPlacement> {
protected:
    void SetUp() override { mainWindow.show(); options.show(); }
    QString Keys() const { return QString("%1 %2 %3 %4").arg(state.TastoDestra).arg(state.TastoSinistra).arg(state.TastoCaduta).arg(state.TastoRotazione); }
    QLabel* Label(int i) { return options.findChildren<QLabel*>(Qt::FindDirectChildrenOnly).at(i); }
    // Clicks "Tasti Personalizzati" and hands each capture dialog to `drive` with its number, from 1.
    void CaptureKeys(const std::function<void(frmKey*, int)>& drive) {
        int shown = 0;
        ModalDriver driver([&](QWidget* modal) { drive(qobject_cast<frmKey*>(modal), ++shown); });
        QTest::mouseClick(Label(0), Qt::LeftButton);
    }

    GameState state;
    QWidget mainWindow{nullptr, Qt::FramelessWindowHint};
    QLabel* opzioni = [this] {  // the fourth menu label of an 800-pixel screen
        mainWindow.setGeometry(0, 0, 800, 600);
        auto* label = new QLabel("Opzioni", &mainWindow);
        label->setGeometry(600, 180, 200, 35);
        return label;
    }();
    frmOption options{state, opzioni, &mainWindow, GetParam()};
};
INSTANTIATE_TEST_SUITE_P(, FrmOption, ::testing::Values(DialogPlacement::OwnWindow, DialogPlacement::InsideMainWindow),
                         [](const auto& i) { return i.param == DialogPlacement::OwnWindow ? "OwnWindow" : "Inside"; });

TEST_P(FrmOption, OpensAtTheRightEdgeUnderTheOptionsLabelAndIgnoresKeys) {
    // 3744 x 2220 twips at 15 twips to the pixel; the label ends at y = 215.
    EXPECT_EQ(QRect(ScreenTopLeft(options), options.size()), QRect(550, 215, 250, 148));
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space}) QTest::keyClick(&options, key);
    EXPECT_TRUE(options.isVisible()) << "no key closes it";
}

// The middle label names the setting a click selects, read afresh at each opening.
TEST_P(FrmOption, TheRepetitionLabelSelectsTheSettingItNamesAndReadsRightAtTheNextOpening) {
    for (const bool on : {true, false, true}) {
        frmOption opened(state, opzioni, &mainWindow, GetParam());
        opened.show();
        QLabel* middle = opened.findChildren<QLabel*>(Qt::FindDirectChildrenOnly).at(1);
        EXPECT_EQ(middle->text(), on ? "Tasti a ripetizione" : "Tasti non a ripetizione");
        QTest::mouseClick(middle, Qt::LeftButton);
        EXPECT_EQ(state.Ripetizione, on);
        EXPECT_FALSE(opened.isVisible());
    }
}

TEST_P(FrmOption, CustomKeysAskForTheFourActionsInTurnUnderTheWindowBindingEachAtOnce) {
    std::vector<QString> asked;
    CaptureKeys([&](frmKey* capture, int shown) {
        asked.push_back(capture->Label1().text() + " " + capture->Label2().text() + " " + Keys());
        EXPECT_EQ(QRect(ScreenTopLeft(*capture), capture->size()), QRect(550, 363, 250, 142)) << shown;
        if (shown == 2) capture->close();  // by the window system: that binding stays
        else QTest::keyClick(capture->window()->windowHandle(), std::array{Qt::Key_A, Qt::Key_D, Qt::Key_Escape, Qt::Key_W}[shown - 1]);
    });
    EXPECT_EQ(asked, (std::vector<QString>{"Spostamento a DESTRA ... <Freccia a destra> 39 37 40 32",
                                           "Spostamento a SINISTRA ... <Freccia a sinistra> 65 37 40 32",
                                           QString::fromUtf8("Caduta rapida ... <Freccia giù> 65 37 40 32"),
                                           "ROTAZIONE ... <Barra spaziatrice> 65 37 27 32"}));
    EXPECT_EQ(Keys(), "65 37 27 87");
    EXPECT_FALSE(options.isVisible());
}

TEST_P(FrmOption, TheProgramEndingDuringTheSequenceStopsIt) {
    QTimer::singleShot(0, [&] {
        CaptureKeys([](frmKey* capture, int shown) {
            if (shown == 1) QTest::keyClick(capture, Qt::Key_A);
            else QCoreApplication::exit(0);  // the main window was closed meanwhile
        });
    });
    QCoreApplication::exec();
    EXPECT_EQ(Keys(), "65 37 40 32");
    EXPECT_TRUE(options.isVisible()) << "neither a further capture nor the end of the sequence";
}

}  // namespace
}  // namespace tumblara::testing
