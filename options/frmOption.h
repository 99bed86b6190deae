#pragma once
// The options window: drops down at the right edge of the screen under the
// main window's "Opzioni" label and offers three clickable labels: new keys
// for the four actions, key repetition, and closing. The game keeps running
// while it is open.

#include <QDialog>
#include <QLabel>
#include <array>
#include <cstdint>

#include "input/Evidenziazione.h"
#include "input/InWindowDialog.h"

namespace tumblara {

struct GameState;

class frmOption : public QDialog {
    Q_OBJECT
public:
    // `menuLabel` is the main window's "Opzioni" label; the window opens under
    // it, as a window of its own or inside `parent`'s window.
    frmOption(GameState& state, const QWidget* menuLabel, QWidget* parent,
              DialogPlacement placement = DialogPlacement::OwnWindow);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load(const QWidget* menuLabel);
    void Label1_Click(std::int16_t Index);
    // Captures one key for action KeyId; false when the program is ending.
    bool CatturaTasto(std::int32_t KeyId);

    GameState& state_;
    // 0 "Tasti Personalizzati", 1 the repetition switch, 2 "Chiudi le Opzioni".
    std::array<QLabel*, 3> Label1{};
    Evidenziazione evidenziazione_;
};

}  // namespace tumblara
