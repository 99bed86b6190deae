#pragma once
// The hover highlight shared by the main window's menu and the options window.

#include <QObject>
#include <QWidget>
#include <cstdint>
#include <utility>
#include <vector>

#include "input/Colori.h"

namespace tumblara {

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

    // The index of `object` among the labels, or -1.
    int Indice(const QObject* object) const {
        for (std::size_t i = 0; i < labels_.size(); ++i)
            if (labels_[i] == object) return static_cast<int>(i);
        return -1;
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

private:
    std::vector<QWidget*> labels_;
    Colori riposo_;
    Colori acceso_;
    bool evidenziato_ = false;
};

}  // namespace tumblara
