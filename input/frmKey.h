#pragma once
// The key-capture dialog: asks for one key and hands its code back. It closes
// on the first key-down, whatever the key.

#include <QDialog>
#include <cstdint>
#include <optional>

class QLabel;

namespace tumblara {

class frmKey : public QDialog {
    Q_OBJECT
public:
    // Placed directly under `optionsWindow`, as wide as it, showing the
    // action and the name of its default key.
    frmKey(QWidget* optionsWindow, const QString& azione, const QString& tasto);

    // Shows the dialog modal and answers the code of the first key-down.
    // Closed any other way, or by a key-down that has no code (a synthesised
    // event without a key code), it answers nullopt: the binding stays.
    std::optional<std::int16_t> Cattura();

    const QLabel& Label1() const { return *label1_; }  // the action
    const QLabel& Label2() const { return *label2_; }  // the action's default key

protected:
    bool event(QEvent* event) override;

private:
    void Form_Load(const QWidget* optionsWindow);
    void Form_KeyDown(std::int16_t KeyCode, std::int16_t Shift);

    QLabel* const label1_;
    QLabel* const label2_;
    std::optional<std::int16_t> catturato_;
    bool chiuso_ = false;  // keys already queued behind the first one do nothing
};

}  // namespace tumblara
