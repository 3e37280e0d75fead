#include "window/width_fit.h"

#include <vector>

namespace {

bool SharesARow(const QRect& a, const QRect& b) {
    return a.top() <= b.bottom() && b.top() <= a.bottom();
}

// Right of a field that gives way and in its row: moves with that field's right edge.
bool FollowsAYieldingField(std::span<const WidthFitControl> controls, const QRect& rect) {
    for (const WidthFitControl& other : controls) {
        if (other.yields && SharesARow(other.rect, rect) && rect.left() > other.rect.right())
            return true;
    }
    return false;
}

}  // namespace

void NarrowBy(std::span<WidthFitControl> controls, int excess) {
    if (excess <= 0) return;
    std::vector<bool> moves;
    for (const WidthFitControl& control : controls)
        moves.push_back(!control.isBox && FollowsAYieldingField(controls, control.rect));
    for (std::size_t i = 0; i < controls.size(); ++i) {
        QRect& rect = controls[i].rect;
        if (controls[i].yields || controls[i].isBox) {
            rect.setWidth(rect.width() - excess);
        } else if (moves[i]) {
            rect.moveLeft(rect.left() - excess);
        }
    }
}
