#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

#include "window/dialog_template.h"

// Dialog units scale a layout with its font: a horizontal unit is a quarter of the font's
// average character width, a vertical unit an eighth of its height.

struct DialogBaseUnits {
    int averageCharWidth;
    int charHeight;
};

// number * numerator / denominator with a 64-bit product, rounded half away from zero.
int MulDiv(int number, int numerator, int denominator);

// The average width over the 52 letters A-Z and a-z, from the advance of all 52 together,
// rounded the way the layout has always been scaled.
int AverageCharWidth(int widthOfLetters);

DialogBaseUnits BaseUnitsOf(const QFont& font);

QRect PixelRect(const DialogUnitRect& rect, const DialogBaseUnits& units);

QSize PixelSize(const DialogUnitRect& rect, const DialogBaseUnits& units);
