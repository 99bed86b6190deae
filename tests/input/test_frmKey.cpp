// The key-capture dialog: where it opens, what it looks like, and the code it
// hands back for the first key-down.

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>

#include "input/frmKey.h"
#include "tests/input/ModalDriver.h"

namespace tumblara::testing {
namespace {

class FrmKey : public ::testing::Test {
protected:
    void SetUp() override {
        options.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        options.setGeometry(550, 120, 250, 148);
        options.show();
    }
    static void Press(QWidget* to, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(to, &press);
    }
    // Opens a fresh dialog, lets `drive` act on it, and answers what exec() returned.
    int Capture(const std::function<void(QWidget*)>& drive) {
        frmKey dialog(&options, captured);
        dialog.Label1->setText("Spostamento a DESTRA ...");
        dialog.Label2->setText("<Freccia a destra>");
        ModalDriver driver(drive);
        const int result = dialog.exec();
        EXPECT_FALSE(driver.timedOut());
        EXPECT_EQ(driver.handled(), 1);
        return result;
    }

    QWidget options;
    QString captured;
};

TEST_F(FrmKey, OpensDirectlyUnderTheOptionsWindowWithItsLeftEdgeAndWidth) {
    const frmKey first(&options, captured);
    EXPECT_EQ(first.geometry(), QRect(550, 268, 250, 142));

    options.setGeometry(17, 301, 333, 99);
    const frmKey second(&options, captured);
    EXPECT_EQ(second.geometry(), QRect(17, 400, 333, 142));
}

TEST_F(FrmKey, KeepsItsPlaceWhenShown) {
    QRect shown;
    Capture([&](QWidget* modal) {
        shown = modal->geometry();
        Press(modal, Qt::Key_A);
    });
    EXPECT_EQ(shown, QRect(550, 268, 250, 142));
}

TEST_F(FrmKey, IsATitleLessDarkRedWindowWithYellowLabelsAtTheirDesignPlaces) {
    frmKey dialog(&options, captured);
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(dialog.windowTitle().isEmpty());
    EXPECT_EQ(dialog.palette().color(QPalette::Window), QColor(128, 0, 0));
    for (const QLabel* label : {dialog.Label1, dialog.Label2}) {
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 255, 0));
        EXPECT_EQ(label->palette().color(QPalette::Window), QColor(128, 0, 0));
    }
    // 15 twips to the pixel on the 96-dpi test screen.
    EXPECT_EQ(dialog.Label1->pos(), QPoint(8, 32));
    EXPECT_EQ(dialog.Label2->pos(), QPoint(88, 96));
    EXPECT_EQ(dialog.Label1->font().family(), "Palatino Linotype");
    EXPECT_TRUE(dialog.Label1->font().bold());
    EXPECT_DOUBLE_EQ(dialog.Label1->font().pointSizeF(), 12.0);
    EXPECT_EQ(dialog.Label2->font(), dialog.font()) << "the second label keeps the default font";
}

TEST_F(FrmKey, LabelsTakeTheSizeOfTextsSetAfterCreation) {
    QSize label1;
    QSize hint1;
    Capture([&](QWidget* modal) {
        auto* dialog = static_cast<frmKey*>(modal);
        label1 = dialog->Label1->size();
        hint1 = dialog->Label1->sizeHint();
        Press(modal, Qt::Key_A);
    });
    EXPECT_EQ(label1, hint1);
    EXPECT_GT(label1.width(), 100) << "the whole action text shows";
}

TEST_F(FrmKey, FirstKeyDownClosesItWithTheCodeAsDecimalText) {
    const std::pair<int, const char*> cases[] = {
        {Qt::Key_A, "65"},     {Qt::Key_Right, "39"}, {Qt::Key_Escape, "27"},
        {Qt::Key_Tab, "9"},    {Qt::Key_Shift, "16"}, {Qt::Key_Return, "13"},
    };
    for (const auto& [key, text] : cases) {
        captured.clear();
        EXPECT_EQ(Capture([key = key](QWidget* modal) { Press(modal, key); }), QDialog::Accepted) << text;
        EXPECT_EQ(captured, text);
    }
}

TEST_F(FrmKey, ShiftWithALetterCapturesTheShiftThatArrivesFirst) {
    Capture([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_A, Qt::ShiftModifier); });
    EXPECT_EQ(captured, "16");
}

TEST_F(FrmKey, OnlyTheFirstKeyCountsAndAKeyWithoutACodeIsNotOne) {
    Capture([](QWidget* modal) {
        Press(modal, Qt::Key_VolumeUp);
        Press(modal, Qt::Key_D);
        Press(modal, Qt::Key_B);
    });
    EXPECT_EQ(captured, "68");
}

TEST_F(FrmKey, ClosedWithoutAKeyItLeavesTheTextAsItWas) {
    captured = "39";
    EXPECT_EQ(Capture([](QWidget* modal) { modal->close(); }), QDialog::Rejected);
    EXPECT_EQ(captured, "39");
}

}  // namespace
}  // namespace tumblara::testing
