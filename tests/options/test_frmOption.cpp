// The options window: where it opens, its three labels, the repetition
// switch, the four-key capture sequence and the hover highlight.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>

#include "engine/GameState.h"
#include "input/frmKey.h"
#include "options/frmOption.h"
#include "tests/input/ModalDriver.h"

namespace tumblara::testing {
namespace {

const QColor kDarkRed(128, 0, 0);
const QColor kYellow(255, 255, 0);
const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);

using Bindings = std::array<std::int32_t, 4>;

class FrmOption : public ::testing::Test {
protected:
    void SetUp() override {
        // The main window covers the 800 x 800 test screen; "Opzioni" is the
        // fourth menu label at the right edge.
        mainWindow.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        mainWindow.setGeometry(0, 0, 800, 800);
        opzioni = new QLabel("Opzioni", &mainWindow);
        opzioni->setGeometry(600, 180, 200, 35);
        mainWindow.show();
    }
    Bindings Keys() const {
        return {state.TastoDestra, state.TastoSinistra, state.TastoCaduta, state.TastoRotazione};
    }
    static void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }
    static void MoveOver(QWidget* w) {
        const QPointF at = w->rect().center();
        QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &move);
    }
    static void Press(QWidget* to, int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(to, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QCoreApplication::sendEvent(to, &release);
    }
    static bool Highlighted(const QLabel* l) {
        return l->palette().color(QPalette::WindowText) == kYellow && l->palette().color(QPalette::Window) == kRed;
    }
    static bool Plain(const QLabel* l) {
        return l->palette().color(QPalette::WindowText) == kBlack &&
               l->palette().color(QPalette::Window) == kDarkRed;
    }

    GameState state;
    QWidget mainWindow;
    QLabel* opzioni = nullptr;
};

TEST_F(FrmOption, OpensAtTheRightEdgeOfTheScreenJustUnderTheOptionsLabel) {
    const frmOption options(state, opzioni, &mainWindow);
    // 3744 x 2220 twips at 15 twips to the pixel; the label ends at y = 215.
    EXPECT_EQ(options.geometry(), QRect(550, 215, 250, 148));

    QWidget column(&mainWindow);
    column.setGeometry(600, 40, 200, 300);
    QLabel nested("Opzioni", &column);
    nested.setGeometry(0, 100, 200, 35);
    const frmOption under(state, &nested, &mainWindow);
    EXPECT_EQ(under.pos(), QPoint(550, 175)) << "the label's bottom in the main window's pixels";
}

TEST_F(FrmOption, IsATitleLessDarkRedWindowOfThreeFullWidthBandsAFifthHigh) {
    const frmOption options(state, opzioni, &mainWindow);
    EXPECT_TRUE(options.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(options.palette().color(QPalette::Window), kDarkRed);
    // Tops at 0, a third and two thirds of 148 pixels; 29.6 rounds to 30.
    EXPECT_EQ(options.Label1[0]->geometry(), QRect(0, 0, 250, 30));
    EXPECT_EQ(options.Label1[1]->geometry(), QRect(0, 49, 250, 30));
    EXPECT_EQ(options.Label1[2]->geometry(), QRect(0, 99, 250, 30));
    EXPECT_EQ(options.Label1[0]->text(), "Tasti Personalizzati");
    EXPECT_EQ(options.Label1[2]->text(), "Chiudi le Opzioni");
    for (const QLabel* label : options.Label1) {
        EXPECT_TRUE(Plain(label));
        EXPECT_EQ(label->font().family(), "Palatino Linotype");
        EXPECT_TRUE(label->font().bold());
        EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 16.2);
        EXPECT_TRUE(label->alignment().testFlag(Qt::AlignHCenter));
    }
    EXPECT_FALSE(options.Evidenziato);
}

TEST_F(FrmOption, MiddleLabelNamesTheSettingItsClickSelectsAndTheClickCloses) {
    {
        frmOption options(state, opzioni, &mainWindow);
        EXPECT_EQ(options.Label1[1]->text(), "Tasti a ripetizione");
        options.show();
        Click(options.Label1[1]);
        EXPECT_TRUE(state.Ripetizione);
        EXPECT_FALSE(options.isVisible());
    }
    {
        frmOption options(state, opzioni, &mainWindow);
        EXPECT_EQ(options.Label1[1]->text(), "Tasti non a ripetizione");
        options.show();
        Click(options.Label1[1]);
        EXPECT_FALSE(state.Ripetizione);
        EXPECT_FALSE(options.isVisible());
    }
}

TEST_F(FrmOption, RepetitionTurnsOnOnlyForTheExactText) {
    state.Ripetizione = true;
    frmOption options(state, opzioni, &mainWindow);
    options.Label1[1]->setText("Tasti a ripetizione ");
    options.Label1_Click(1);
    EXPECT_FALSE(state.Ripetizione);
}

TEST_F(FrmOption, CustomKeysAskForTheFourActionsInTurnUnderTheWindowAndBindEach) {
    frmOption options(state, opzioni, &mainWindow);
    options.show();
    const int keys[] = {Qt::Key_A, Qt::Key_D, Qt::Key_S, Qt::Key_W};
    std::vector<QString> asked;
    std::vector<QRect> placed;
    std::vector<Bindings> before;
    ModalDriver driver([&](QWidget* modal) {
        auto* capture = qobject_cast<frmKey*>(modal);
        ASSERT_NE(capture, nullptr);
        asked.push_back(capture->Label1->text() + " " + capture->Label2->text());
        placed.push_back(capture->geometry());
        before.push_back(Keys());
        Press(capture, keys[asked.size() - 1]);
    });
    Click(options.Label1[0]);

    EXPECT_FALSE(driver.timedOut());
    EXPECT_EQ(Keys(), (Bindings{65, 68, 83, 87}));
    EXPECT_EQ(asked, (std::vector<QString>{
                         "Spostamento a DESTRA ... <Freccia a destra>",
                         "Spostamento a SINISTRA ... <Freccia a sinistra>",
                         QString::fromUtf8("Caduta rapida ... <Freccia giù>"),
                         "ROTAZIONE ... <Barra spaziatrice>",
                     }));
    for (const QRect& r : placed) EXPECT_EQ(r, QRect(550, 363, 250, 142));
    // Each binding is in force before the next dialog opens.
    EXPECT_EQ(before[1], (Bindings{65, 37, 40, 32}));
    EXPECT_EQ(before[3], (Bindings{65, 68, 83, 32}));
    EXPECT_FALSE(options.isVisible());
}

TEST_F(FrmOption, CaptureClosedWithoutAKeyKeepsThatBindingAndTheSequenceGoesOn) {
    frmOption options(state, opzioni, &mainWindow);
    options.show();
    int shown = 0;
    ModalDriver driver([&](QWidget* modal) {
        switch (++shown) {
            case 1: Press(modal, Qt::Key_A); break;
            case 2: modal->close(); break;  // by the window system
            case 3: Press(modal, Qt::Key_Escape); break;
            default: Press(modal, Qt::Key_W); break;
        }
    });
    Click(options.Label1[0]);
    EXPECT_EQ(shown, 4);
    EXPECT_EQ(Keys(), (Bindings{65, 37, 27, 87}));
}

// Counts the capture dialogs that appear.
struct ShowCounter : QObject {
    int shown = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && qobject_cast<frmKey*>(watched)) ++shown;
        return false;
    }
};

TEST_F(FrmOption, ProgramEndingDuringTheSequenceStopsItWithoutTouchingTheBindings) {
    frmOption options(state, opzioni, &mainWindow);
    options.show();
    ShowCounter counter;
    qApp->installEventFilter(&counter);
    int handled = 0;
    ModalDriver driver([&](QWidget* modal) {
        if (++handled == 1)
            Press(modal, Qt::Key_A);
        else
            QCoreApplication::exit(0);  // the main window was closed meanwhile
    });
    QTimer::singleShot(0, [&] { Click(options.Label1[0]); });
    QCoreApplication::exec();
    qApp->removeEventFilter(&counter);

    EXPECT_EQ(Keys(), (Bindings{65, 37, 40, 32}));
    EXPECT_EQ(counter.shown, 2) << "no capture dialog after the end";
}

TEST_F(FrmOption, CloseLabelClosesAndChangesNothing) {
    frmOption options(state, opzioni, &mainWindow);
    options.show();
    Click(options.Label1[2]);
    EXPECT_FALSE(options.isVisible());
    EXPECT_EQ(Keys(), (Bindings{39, 37, 40, 32}));
    EXPECT_FALSE(state.Ripetizione);
}

TEST_F(FrmOption, KeysDoNothingAndEscapeDoesNotClose) {
    frmOption options(state, opzioni, &mainWindow);
    bool openAfterKeys = false;
    ModalDriver driver([&](QWidget* modal) {
        for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space, Qt::Key_Tab, Qt::Key_Down})
            Press(modal, key);
        openAfterKeys = modal->isVisible();
        modal->close();
    });
    options.exec();
    EXPECT_TRUE(openAfterKeys);
    EXPECT_EQ(Keys(), (Bindings{39, 37, 40, 32}));
    EXPECT_FALSE(state.Ripetizione);
}

TEST_F(FrmOption, OneLabelHighlightsAtATimeAndOnlyTheBackgroundClearsIt) {
    frmOption options(state, opzioni, &mainWindow);
    options.show();
    MoveOver(options.Label1[2]);
    EXPECT_TRUE(options.Evidenziato);
    EXPECT_TRUE(Highlighted(options.Label1[2])) << "the move over the label must not reach the background";

    // Straight onto another label, no move over the gap: the first keeps it.
    MoveOver(options.Label1[0]);
    EXPECT_TRUE(Highlighted(options.Label1[2]));
    EXPECT_TRUE(Plain(options.Label1[0]));

    QMouseEvent overGap(QEvent::MouseMove, QPointF(125, 40), options.mapToGlobal(QPointF(125, 40)), Qt::NoButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&options, &overGap);
    EXPECT_FALSE(options.Evidenziato);
    for (const QLabel* label : options.Label1) EXPECT_TRUE(Plain(label));

    MoveOver(options.Label1[0]);
    EXPECT_TRUE(Highlighted(options.Label1[0]));
}

}  // namespace
}  // namespace tumblara::testing
