// The key-capture dialog, as a window of its own and realised inside the main
// window: where it opens, the code it hands back for the first key-down, and
// what it keeps from the main window while it is open.

#include <gtest/gtest.h>

#include <QDialog>
#include <QPushButton>
#include <QTest>

#include "input/KeyFilter.h"
#include "input/frmKey.h"
#include "tests/input/ModalDriver.h"
#include "tests/support/Board.h"

namespace tumblara::testing {
namespace {

class FrmKey : public ::testing::TestWithParam<DialogPlacement> {
protected:
    void SetUp() override {
        mainWindow.setGeometry(0, 0, 800, 600);
        options->setGeometry(17, 301, 333, 99);
        mainWindow.show();
        options->show();
    }
    // Opens a fresh dialog, lets `drive` act on it while it is shown, and
    // answers what exec() returned.
    int Capture(const std::function<void(frmKey*)>& drive) {
        frmKey dialog(options, captured);
        dialog.Label1->setText("Spostamento a DESTRA ...");
        dialog.Label2->setText("<Freccia a destra>");
        ModalDriver driver([&](QWidget* modal) { drive(static_cast<frmKey*>(modal)); });
        return dialog.exec();
    }

    QWidget mainWindow{nullptr, Qt::FramelessWindowHint};
    // Inside the main window the options window is one of its children.
    QWidget* options = GetParam() == DialogPlacement::OwnWindow
                           ? new QWidget(&mainWindow, Qt::Window | Qt::FramelessWindowHint)
                                                                 : new QWidget(&mainWindow);
    QString captured = "-1";
};

INSTANTIATE_TEST_SUITE_P(, FrmKey, ::testing::Values(DialogPlacement::OwnWindow, DialogPlacement::InsideMainWindow),
                         PlacementName);

TEST_P(FrmKey, OpensDirectlyUnderTheOptionsWindowAsWideAsItWithItsLabelsSizedToTheirTexts) {
    Capture([this](frmKey* dialog) {
        EXPECT_EQ(dialog->isWindow(), GetParam() == DialogPlacement::OwnWindow);
        EXPECT_EQ(QRect(ScreenTopLeft(*dialog), dialog->size()), QRect(17, 400, 333, 142));  // 2136 twips, 15 a pixel
        EXPECT_EQ(dialog->Label1->geometry(), QRect(QPoint(8, 32), dialog->Label1->sizeHint()));
        EXPECT_EQ(dialog->Label2->geometry(), QRect(QPoint(88, 96), dialog->Label2->sizeHint()));
        dialog->close();
    });
}

TEST_P(FrmKey, FirstKeyDownWithACodeClosesItWithThatCodeAsDecimalText) {
    struct Case { std::vector<int> keys; const char* text; };  // no keys: the window system closes it
    const Case cases[] = {
        {{Qt::Key_A}, "65"},   {{Qt::Key_Right}, "39"}, {{Qt::Key_Escape}, "27"},
        {{Qt::Key_Tab}, "9"},  {{Qt::Key_Shift}, "16"}, {{Qt::Key_Return}, "13"},
        {{Qt::Key_VolumeUp, Qt::Key_D, Qt::Key_B}, "68"}, {{}, "-1"},
    };
    for (const Case& c : cases) {
        captured = "-1";
        const int result = Capture([&](frmKey* dialog) {
            for (int key : c.keys) QTest::keyPress(dialog, Qt::Key(key));
            if (c.keys.empty()) dialog->close();
        });
        EXPECT_EQ(result, c.keys.empty() ? QDialog::Rejected : QDialog::Accepted) << c.text;
        EXPECT_EQ(captured, c.text);
    }
}

struct PointerEvents : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        count += e->type() == QEvent::MouseMove || e->type() == QEvent::MouseButtonPress;
        return false;
    }
};

// Inside the main window nothing of the window system keeps its events from
// the game: the cover and the key filter must.
TEST(FrmKeyInsideTheMainWindow, TakesTheKeysThroughTheWindowWhileThePointerAndTheGameGetNone) {
    GameOnFakeWindow g;
    g.StartGame();
    g.PutPiece(7, 0, 6, 10);
    QWidget mainWindow{nullptr, Qt::FramelessWindowHint};
    mainWindow.setGeometry(0, 0, 800, 600);
    GameKeyFilter filter(g.game, &mainWindow, nullptr);
    QWidget options(&mainWindow);
    options.setGeometry(550, 215, 250, 148);
    int clicks = 0;
    QPushButton label(&mainWindow);  // stands for a menu label under the dialog's cover
    label.setGeometry(0, 0, 200, 35);
    QObject::connect(&label, &QPushButton::clicked, [&] { ++clicks; });
    PointerEvents background;  // what reaches the main window itself
    mainWindow.setMouseTracking(true);
    mainWindow.installEventFilter(&background);
    mainWindow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&mainWindow));
    QWindow* window = mainWindow.windowHandle();

    QString captured;
    frmKey dialog(&options, captured);
    ModalDriver driver([&](QWidget*) {
        QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mouseMove(window, QPoint(300, 400));
        QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(300, 400));
        QTest::keyClick(window, Qt::Key_Right);  // delivered to the focus: the dialog
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(captured, "39");
    EXPECT_EQ(g.PieceCells()[0].first, 6) << "the capture's key moved the piece";
    QTest::keyClick(window, Qt::Key_Right);
    EXPECT_EQ(g.PieceCells()[0].first, 7) << "the keys are the game's again once it closed";
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(background.count, 0);
}

}  // namespace
}  // namespace tumblara::testing
