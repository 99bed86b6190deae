// The label menu under pointer events: one highlight at a time, the
// information text, and clicks that must do nothing.

#include <gtest/gtest.h>

#include <QLabel>
#include <QTextEdit>

#include "tests/ui/FirstWait.h"

namespace tumblara::testing {
namespace {

class MenuOfTheWindow : public ::testing::Test {
protected:
    QWindow* Win() { return form.windowHandle(); }
    QLabel* Label1(int i) { return form.elementi().Label1[static_cast<std::size_t>(i)]; }
    QTextEdit* Text4() { return form.elementi().Text4; }
    QPoint OnText4() { return Text4()->geometry().topLeft() + QPoint(20, 20); }
    void MoveTo(QPoint p) { QTest::mouseMove(Win(), p); }
    void ClickAt(QPoint p) { QTest::mouseClick(Win(), Qt::LeftButton, {}, p); }
    void ClickLabel(int i) { ClickAt(Centre(Label1(i))); }
    // Bare background: below the preview, right of the well.
    QPoint Background() const { return {20 * form.layout().Cella, 25 * form.layout().Cella}; }
    static bool Lit(const QLabel* l) {
        return l->palette().color(QPalette::Window) == QColor(0x80, 0, 0) &&
               l->palette().color(QPalette::WindowText) == QColor(0xFF, 0xFF, 0xFF);
    }
    static bool Resting(const QLabel* l) {
        return l->palette().color(QPalette::Window) == QColor(0, 0, 0) &&
               l->palette().color(QPalette::WindowText) == QColor(0x0F, 0x0F, 0x0F);
    }

    frmGame form;
};

TEST_F(MenuOfTheWindow, OneLabelStaysLitUntilThePointerCrossesTheBackground) {
    ASSERT_TRUE(InsideTheFirstWait(form, [&] {
        ClickLabel(4);  // shows the information text, over the lower labels
        MoveTo(Background());
        MoveTo(Centre(Label1(0)));
        EXPECT_TRUE(Lit(Label1(0)));
        // Straight onto another label, and over elements without handlers.
        MoveTo(Centre(Label1(1)));
        EXPECT_TRUE(Resting(Label1(1))) << "only one label is lit at a time";
        for (QPoint p : {Centre(form.elementi().Label2), Centre(form.elementi().Label4), OnText4()}) {
            MoveTo(p);
            EXPECT_TRUE(Lit(Label1(0))) << "over " << p.x() << "," << p.y();
        }
        MoveTo(Background());
        for (int i = 0; i < 5; ++i) EXPECT_TRUE(Resting(Label1(i))) << "label " << i;
        MoveTo(Centre(Label1(1)));
        EXPECT_TRUE(Lit(Label1(1))) << "after the background the next label lights";
    }));
}

// The banner blinks by painting or not; blinked off it must be background to
// the pointer, as a hidden label is.
TEST_F(MenuOfTheWindow, TheBannerKeepsTheHighlightWhileShownAndClearsItWhileBlinkedOff) {
    ASSERT_TRUE(InsideTheFirstWait(form, [&] {
        form.services().SetTimerInterval(TimerId::Timer2, 0);  // the blink stays where the test puts it
        for (bool shown : {true, false, true}) {
            form.services().SetVisible(LabelId::Label3, shown);
            MoveTo(Background());
            MoveTo(Centre(Label1(0)));
            MoveTo(Centre(form.elementi().Label3));
            EXPECT_EQ(Lit(Label1(0)), shown) << (shown ? "shown" : "blinked off");
        }
    }));
}

TEST_F(MenuOfTheWindow, TheTextHidesOnInfoOnItselfAndOnTheBackgroundButNotOnAnotherLabel) {
    ASSERT_TRUE(InsideTheFirstWait(form, [&] {
        QTest::mousePress(Win(), Qt::LeftButton, {}, Centre(Label1(4)));
        QTest::mouseRelease(Win(), Qt::LeftButton, {}, Centre(Label1(2)));
        EXPECT_FALSE(form.game().Terminato()) << "pressed on Info, released over Esci: no click";
        ASSERT_TRUE(Text4()->isHidden());
        ClickLabel(4);
        ClickAt(OnText4());
        EXPECT_TRUE(Text4()->isHidden()) << "a click on the text";
        ClickLabel(4);
        QTest::mousePress(Win(), Qt::RightButton, {}, Background());
        QTest::mouseRelease(Win(), Qt::RightButton, {}, Background());
        EXPECT_TRUE(Text4()->isHidden()) << "any button on the background";

        ClickLabel(4);
        ClickLabel(1);
        EXPECT_FALSE(Text4()->isHidden()) << "a menu label is not the background";
        // Had "Pausa" paused before the first game, the click would still be waiting.
        EXPECT_EQ(Label1(1)->text(), "Pausa");
        EXPECT_EQ(form.services().Interval(TimerId::Timer2), 500) << "still blinking Game Over";
    }));
    const QStringList lines = Text4()->toPlainText().split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], "Tumblara ver 3.0");
    EXPECT_EQ(lines[1], "by Nortavo");
}

}  // namespace
}  // namespace tumblara::testing
