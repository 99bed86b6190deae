#pragma once
// Shows a main window and runs test steps from inside the wait that its
// first activation enters: before the first game every event is handled
// there, as it is for the player.

#include <QTest>
#include <QTimer>
#include <functional>

#include "ui/frmGame.h"

namespace tumblara::testing {

// True when the steps ran inside the game-over wait and, afterwards, the
// whole nest of waits unwound back to the caller. Unless the steps started
// a game or ended the program, the wait is released as an unload does. A
// watchdog releases any wait that would never end, so a fault fails the
// test instead of hanging it.
inline bool InsideTheFirstWait(frmGame& form, const std::function<void()>& steps) {
    bool ran = false;
    bool finished = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        Game& game = form.game();
        const bool gameOver = form.services().Caption(LabelId::Label3) == "Game Over" &&
                              form.services().Interval(TimerId::Timer2) == 500 && !game.state.InGioco;
        if (ran || !gameOver) return;
        ran = true;
        poll.stop();
        steps();
        if (!game.state.InGioco) game.Form_Unload();
        finished = true;
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] { form.game().Form_Unload(); });
    watchdog.start(15000);
    poll.start();
    form.show();
    const bool unwound = QTest::qWaitFor([&] { return finished; }, 20000);
    return ran && unwound && watchdog.isActive();
}

inline QPoint Centre(const QWidget* w) { return w->geometry().center(); }

}  // namespace tumblara::testing
