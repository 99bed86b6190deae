// The key-capture dialog: where it opens and the code it hands back for the
// first key-down.

#include <gtest/gtest.h>

#include <QTest>

#include "input/frmKey.h"
#include "tests/input/ModalDriver.h"

namespace tumblara::testing {
namespace {

class FrmKey : public ::testing::Test {
protected:
    void SetUp() override { options.setGeometry(17, 301, 333, 99); }
    // Opens a fresh dialog, lets `drive` act on it while it is shown, and
    // answers what exec() returned.
    int Capture(const std::function<void(frmKey*)>& drive) {
        frmKey dialog(&options, captured);
        dialog.Label1->setText("Spostamento a DESTRA ...");
        dialog.Label2->setText("<Freccia a destra>");
        ModalDriver driver([&](QWidget* modal) { drive(static_cast<frmKey*>(modal)); });
        return dialog.exec();
    }

    QWidget options;
    QString captured = "-1";
};

TEST_F(FrmKey, OpensDirectlyUnderTheOptionsWindowAsWideAsItWithItsLabelsSizedToTheirTexts) {
    Capture([](frmKey* dialog) {
        EXPECT_EQ(dialog->geometry(), QRect(17, 400, 333, 142));  // 2136 twips high, 15 to the pixel
        EXPECT_EQ(dialog->Label1->geometry(), QRect(QPoint(8, 32), dialog->Label1->sizeHint()));
        EXPECT_EQ(dialog->Label2->geometry(), QRect(QPoint(88, 96), dialog->Label2->sizeHint()));
        dialog->close();
    });
}

TEST_F(FrmKey, FirstKeyDownWithACodeClosesItWithThatCodeAsDecimalText) {
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

}  // namespace
}  // namespace tumblara::testing
