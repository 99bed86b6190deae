// The label menu under real pointer events: highlight, the information text
// and the clicks that must do nothing before the first game.

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
    void MoveTo(QPoint p) { QTest::mouseMove(Win(), p); }
    void ClickAt(QPoint p) { QTest::mouseClick(Win(), Qt::LeftButton, {}, p); }
    void ClickLabel(int i) { ClickAt(Centre(Label1(i))); }
    // A point of the bare background: below the preview, right of the well.
    QPoint Background() const {
        const int c = form.layout().Cella;
        return {20 * c, 25 * c};
    }
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

TEST_F(MenuOfTheWindow, PointerOnALabelLightsItAndOnlyTheBackgroundPutsItOut) {
    ASSERT_TRUE(InsideTheFirstWait(form, [&] {
        MoveTo(Centre(Label1(0)));
        EXPECT_TRUE(Lit(Label1(0)));
        EXPECT_TRUE(form.menu().Evidenziato());
        // Straight onto another label, without crossing the background.
        MoveTo(Centre(Label1(2)));
        EXPECT_TRUE(Lit(Label1(0))) << "the first label keeps its highlight";
        EXPECT_TRUE(Resting(Label1(2))) << "only one label is lit at a time";
        MoveTo(Background());
        for (int i = 0; i < 5; ++i) EXPECT_TRUE(Resting(Label1(i))) << "label " << i;
        EXPECT_FALSE(form.menu().Evidenziato());
        MoveTo(Centre(Label1(2)));
        EXPECT_TRUE(Lit(Label1(2))) << "after the background the next label lights";
    }));
}

TEST_F(MenuOfTheWindow, ElementsWithoutHandlersKeepTheHighlight) {
    ASSERT_TRUE(InsideTheFirstWait(form, [&] {
        ClickLabel(4);
        ASSERT_FALSE(Text4()->isHidden());
        MoveTo(Background());
        MoveTo(Centre(Label1(1)));
        ASSERT_TRUE(Lit(Label1(1)));
        MoveTo(Centre(form.elementi().Label2));
        EXPECT_TRUE(Lit(Label1(1))) << "over the score";
        MoveTo(Centre(form.elementi().Label4));
        EXPECT_TRUE(Lit(Label1(1))) << "over the preview caption";
        MoveTo(Text4()->geometry().topLeft() + QPoint(20, 20));
        EXPECT_TRUE(Lit(Label1(1))) << "over the information text";
        MoveTo(Background());
        EXPECT_TRUE(Resting(Label1(1)));
    }));
}

TEST_F(MenuOfTheWindow, InfoShowsTheInformationTextAndHidesItAgain) {
    ASSERT_TRUE(InsideTheFirstWait(form, [&] {
        ASSERT_TRUE(Text4()->isHidden()) << "hidden at start";
        ClickLabel(4);
        EXPECT_FALSE(Text4()->isHidden());
        ClickLabel(4);
        EXPECT_TRUE(Text4()->isHidden());
    }));
    const QStringList lines = Text4()->toPlainText().split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], "Tumblara ver 3.0");
    EXPECT_EQ(lines[1], "by Nortavo");
    EXPECT_EQ(Text4()->focusPolicy() & Qt::TabFocus, 0) << "not reachable with Tab";
}

TEST_F(MenuOfTheWindow, ClickOnTheTextOrOnTheBackgroundHidesItButNotOneOnAnotherLabel) {
    ASSERT_TRUE(InsideTheFirstWait(form, [&] {
        ClickLabel(4);
        ClickAt(Text4()->geometry().topLeft() + QPoint(20, 20));
        EXPECT_TRUE(Text4()->isHidden()) << "a click on the text";

        ClickLabel(4);
        QTest::mousePress(Win(), Qt::RightButton, {}, Background());
        QTest::mouseRelease(Win(), Qt::RightButton, {}, Background());
        EXPECT_TRUE(Text4()->isHidden()) << "any button on the background";

        ClickLabel(4);
        ClickLabel(1);  // "Pausa" before the first game does nothing else
        EXPECT_FALSE(Text4()->isHidden()) << "a menu label is not the background";
    }));
}

TEST_F(MenuOfTheWindow, PausaBeforeTheFirstGameDoesNothing) {
    ASSERT_TRUE(InsideTheFirstWait(form, [&] {
        ClickLabel(1);
        // Had it paused, the click would still be waiting in there.
        EXPECT_EQ(Label1(1)->text(), "Pausa");
        EXPECT_FALSE(form.game().state.InGioco);
        EXPECT_EQ(form.services().Interval(TimerId::Timer2), 500) << "still blinking Game Over";
    }));
}

TEST_F(MenuOfTheWindow, PressOnOneLabelAndReleaseOnAnotherIsNoClick) {
    ASSERT_TRUE(InsideTheFirstWait(form, [&] {
        QTest::mousePress(Win(), Qt::LeftButton, {}, Centre(Label1(4)));
        QTest::mouseRelease(Win(), Qt::LeftButton, {}, Centre(Label1(2)));
        EXPECT_FALSE(form.game().Terminato()) << "released over Esci";
        EXPECT_TRUE(Text4()->isHidden()) << "pressed on Info";
    }));
}

}  // namespace
}  // namespace tumblara::testing
