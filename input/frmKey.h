#pragma once
// The key-capture dialog: asks for one key and hands its code back as
// decimal text. It closes on the first key-down, whatever the key.

#include <QDialog>
#include <QLabel>
#include <cstdint>

class frmKey : public QDialog {
    Q_OBJECT
public:
    // Placed directly under `optionsWindow`, as wide as it. The captured code
    // is written into `TastoCatturato`; closed any other way, the dialog
    // leaves it as it was and exec() answers Rejected.
    frmKey(QWidget* optionsWindow, QString& TastoCatturato);

    QLabel* const Label1;  // the action
    QLabel* const Label2;  // the action's default key

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load(const QWidget* optionsWindow);
    void Form_KeyDown(std::int16_t KeyCode, std::int16_t Shift);

    QString& TastoCatturato_;
    bool catturato_ = false;
};
