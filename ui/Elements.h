#pragma once
// The child elements of the main window, with their fixed fonts, colours
// and captions. Placing them is the layout's job.

#include <array>
#include <cstdint>

class QLabel;
class QTextEdit;
class QWidget;

namespace tumblara {

class Canvas;

inline constexpr std::uint32_t kMenuTesto = 0x0F0F0F;  // on black; white on dark red when lit

inline constexpr std::array<const char*, 5> kVociMenu{"Nuova Partita", "Pausa", "Esci", "Opzioni", "Info"};

struct Elementi {
    Canvas* canvas = nullptr;  // the background, beneath all the others
    std::array<QLabel*, 5> Label1{};
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QTextEdit* Text4 = nullptr;
};

// Creates every element as a child of `form`, all in their resting state.
Elementi CreaElementi(QWidget* form);

}  // namespace tumblara
