// The blinking banner against a plain label: blinked on, the same pixels as a
// plain label with its caption of the moment; blinked off, none.

#include <QLabel>
#include <gtest/gtest.h>

#include "qt/BlinkingLabel.h"

namespace tumblara {
namespace {

TEST(BlinkingLabel, BlinkedOnItLooksLikeAPlainLabelWithTheCaptionOfTheMomentAndOffItIsEmpty) {
    QWidget window;  // never shown: its labels paint only when grabbed
    QLabel* labels[] = {new QLabel(&window), new QLabel(&window), new QLabel(&window)};  // banner, plain, empty
    for (QLabel* label : labels) label->resize(200, 40);
    auto* banner = new BlinkingLabel(labels[0]);  // owned by its label
    for (const char* caption : {"Level  0", "Level  1", "Game Over"}) {
        labels[0]->setText(caption);
        labels[1]->setText(caption);
        banner->SetShown(false);  // off and on again with the new caption
        banner->SetShown(true);
        EXPECT_EQ(labels[0]->grab().toImage(), labels[1]->grab().toImage()) << caption;
    }
    banner->SetShown(false);
    EXPECT_EQ(labels[0]->grab().toImage(), labels[2]->grab().toImage());
}

}  // namespace
}  // namespace tumblara
