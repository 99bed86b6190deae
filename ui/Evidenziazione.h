#pragma once
// The hover highlight shared by the main window's menu and the options window.

#include <vector>

#include "ui/WindowSystem.h"

namespace tumblara {

// A column of labels of which the pointer lights one at a time: passing over
// a label lights it unless one is lit already, and only the pointer on the
// bare background puts them all back.
class Evidenziazione {
public:
    struct Colori {
        Colour testo;
        Colour sfondo;
    };
    Evidenziazione(WindowSystem& finestre, std::vector<ElementId> labels, Colori riposo, Colori acceso)
        : finestre_(finestre), labels_(std::move(labels)), riposo_(riposo), acceso_(acceso) {
        for (ElementId l : labels_) finestre_.SetColours(l, riposo_.testo, riposo_.sfondo);
    }

    // The index of `element` among the labels, or -1.
    int Indice(ElementId element) const {
        for (std::size_t i = 0; i < labels_.size(); ++i)
            if (labels_[i] == element) return static_cast<int>(i);
        return -1;
    }

    void Label_MouseMove(std::size_t index) {
        if (evidenziato_) return;
        evidenziato_ = true;
        finestre_.SetColours(labels_.at(index), acceso_.testo, acceso_.sfondo);
    }
    void Form_MouseMove() {
        if (!evidenziato_) return;
        evidenziato_ = false;
        for (ElementId l : labels_) finestre_.SetColours(l, riposo_.testo, riposo_.sfondo);
    }

private:
    WindowSystem& finestre_;
    std::vector<ElementId> labels_;
    Colori riposo_;
    Colori acceso_;
    bool evidenziato_ = false;
};

}  // namespace tumblara
