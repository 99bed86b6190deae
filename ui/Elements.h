#pragma once
// The child elements of the main window, with their fixed fonts, colours
// and captions. Placing them is the layout's job.

#include <QColor>
#include <array>
#include <cstdint>

class QLabel;
class QTextEdit;
class QWidget;

namespace tumblara {

class Canvas;

// Colours written 0x00BBGGRR: the low byte is red.
QColor ColoreBGR(std::uint32_t bbggrr);

inline constexpr std::uint32_t kMenuTesto = 0x0F0F0F;
inline constexpr std::uint32_t kMenuSfondo = 0x000000;
inline constexpr std::uint32_t kEvidenziatoTesto = 0xFFFFFF;
inline constexpr std::uint32_t kEvidenziatoSfondo = 0x000080;  // dark red

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

// Text and background colour of a label; an opaque background.
void Colora(QLabel* label, std::uint32_t testo, std::uint32_t sfondo);

}  // namespace tumblara
