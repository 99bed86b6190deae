#pragma once
// Colours, written 0x00BBGGRR as the design gives them (the low byte is red),
// and the hover highlight shared by the main window's menu and the options
// window.

#include <QColor>
#include <QPalette>
#include <QWidget>
#include <cstdint>
#include <utility>
#include <vector>

namespace tumblara {

inline QColor ColoreBGR(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

inline constexpr std::uint32_t kRossoScuro = 0x000080;  // background of the options and capture windows
inline constexpr std::uint32_t kGiallo = 0x00FFFF;
inline constexpr std::uint32_t kRosso = 0x0000FF;
inline constexpr std::uint32_t kNero = 0x000000;
inline constexpr std::uint32_t kBianco = 0xFFFFFF;

// Text and background colour of a widget; the background is filled.
inline void Colora(QWidget* widget, std::uint32_t testo, std::uint32_t sfondo) {
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, ColoreBGR(testo));
    p.setColor(QPalette::Window, ColoreBGR(sfondo));
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

// A column of labels of which the pointer lights one at a time: passing over
// a label lights it unless one is lit already, and only the pointer on the
// bare background puts them all back.
class Evidenziazione {
public:
    struct Colori {
        std::uint32_t testo;
        std::uint32_t sfondo;
    };
    Evidenziazione(std::vector<QWidget*> labels, Colori riposo, Colori acceso)
        : labels_(std::move(labels)), riposo_(riposo), acceso_(acceso) {
        for (QWidget* l : labels_) Colora(l, riposo_.testo, riposo_.sfondo);
    }

    void Label_MouseMove(std::size_t index) {
        if (evidenziato_) return;
        evidenziato_ = true;
        Colora(labels_.at(index), acceso_.testo, acceso_.sfondo);
    }
    void Form_MouseMove() {
        if (!evidenziato_) return;
        evidenziato_ = false;
        for (QWidget* l : labels_) Colora(l, riposo_.testo, riposo_.sfondo);
    }
    bool Evidenziato() const { return evidenziato_; }

private:
    std::vector<QWidget*> labels_;
    Colori riposo_;
    Colori acceso_;
    bool evidenziato_ = false;
};

}  // namespace tumblara
