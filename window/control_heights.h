#pragma once

#include <QRect>
#include <span>

// Fits a fixed layout to the heights its controls need under the current style, keeping the
// arrangement: controls whose vertical extents overlap form a row; a row grows by the largest
// shortfall among its controls and moves the rows below it down; a control that grows less
// than its row stays centred in it; a box grows by the rows inside it.

struct PlacedControl {
    QRect rect;
    int neededHeight;  // 0 when any height will do
    bool isBox;        // encloses other controls rather than sitting in a row
};

// Moves and grows the controls in place and returns by how much the whole layout grew.
int FitNeededHeights(std::span<PlacedControl> controls);
