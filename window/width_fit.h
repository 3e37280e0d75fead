#pragma once

#include <QRect>
#include <span>

// Narrows a fixed layout that would be wider than the screen: the fields that may give way lose
// the excess, the controls to their right in the same row move left by it, and the boxes around
// them narrow with them.

struct WidthFitControl {
    QRect rect;
    bool yields;  // may give up width
    bool isBox;
};

// Moves and narrows the controls in place by excess pixels (nothing for 0 or less).
void NarrowBy(std::span<WidthFitControl> controls, int excess);
