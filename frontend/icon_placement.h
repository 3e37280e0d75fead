#pragma once

#include <QPoint>
#include <QSize>

// Top-left corner of an icon centred in a client area, as a minimised window draws it. The
// division truncates toward zero, also when the icon is larger than the area.
inline QPoint CentredIconOrigin(const QSize& clientArea, const QSize& iconSize) {
    return QPoint((clientArea.width() - iconSize.width() + 1) / 2,
                  (clientArea.height() - iconSize.height() + 1) / 2);
}
