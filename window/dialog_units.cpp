#include "window/dialog_units.h"

#include <QFontMetrics>
#include <cassert>
#include <cstdint>

namespace {

constexpr char kAverageLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

int ToPixelsX(int units, const DialogBaseUnits& base) {
    return MulDiv(units, base.averageCharWidth, 4);
}

int ToPixelsY(int units, const DialogBaseUnits& base) {
    return MulDiv(units, base.charHeight, 8);
}

}  // namespace

int MulDiv(int number, int numerator, int denominator) {
    assert(denominator != 0);
    const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    const bool negative = (product < 0) != (denominator < 0);
    const std::int64_t magnitude = product < 0 ? -product : product;
    const std::int64_t divisor = denominator < 0 ? -static_cast<std::int64_t>(denominator)
                                                 : static_cast<std::int64_t>(denominator);
    const std::int64_t rounded = (magnitude + divisor / 2) / divisor;
    return static_cast<int>(negative ? -rounded : rounded);
}

int AverageCharWidth(int widthOfLetters) {
    return (widthOfLetters / 26 + 1) / 2;
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QLatin1String(kAverageLetters));
    return {AverageCharWidth(width), metrics.height()};
}

QRect PixelRect(const DialogUnitRect& rect, const DialogBaseUnits& units) {
    return QRect(ToPixelsX(rect.x, units), ToPixelsY(rect.y, units), ToPixelsX(rect.width, units),
                 ToPixelsY(rect.height, units));
}

QSize PixelSize(const DialogUnitRect& rect, const DialogBaseUnits& units) {
    return PixelRect(rect, units).size();
}
