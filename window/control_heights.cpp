#include "window/control_heights.h"

#include <algorithm>
#include <vector>

namespace {

struct Row {
    int top;
    int bottom;  // one past the last pixel
    int growth;
};

int Shortfall(const PlacedControl& control) {
    return std::max(0, control.neededHeight - control.rect.height());
}

// Rows from top to bottom, each the union of the overlapping extents of its controls.
std::vector<Row> RowsOf(std::span<const PlacedControl> controls) {
    std::vector<Row> rows;
    for (const PlacedControl& control : controls) {
        if (control.isBox) continue;
        rows.push_back(
            {control.rect.top(), control.rect.top() + std::max(1, control.rect.height()), 0});
    }
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.top < b.top; });
    std::vector<Row> merged;
    for (const Row& row : rows) {
        if (!merged.empty() && row.top < merged.back().bottom) {
            merged.back().bottom = std::max(merged.back().bottom, row.bottom);
        } else {
            merged.push_back(row);
        }
    }
    for (const PlacedControl& control : controls) {
        if (control.isBox) continue;
        for (Row& row : merged) {
            if (control.rect.top() >= row.top && control.rect.top() < row.bottom)
                row.growth = std::max(row.growth, Shortfall(control));
        }
    }
    return merged;
}

// The growth of the rows that end at or above y, and of those that lie within [top, bottom).
int GrowthAbove(const std::vector<Row>& rows, int y) {
    int growth = 0;
    for (const Row& row : rows) {
        if (row.bottom <= y) growth += row.growth;
    }
    return growth;
}

int GrowthWithin(const std::vector<Row>& rows, int top, int bottom) {
    int growth = 0;
    for (const Row& row : rows) {
        if (row.top >= top && row.bottom <= bottom) growth += row.growth;
    }
    return growth;
}

}  // namespace

int FitNeededHeights(std::span<PlacedControl> controls) {
    const std::vector<Row> rows = RowsOf(controls);
    for (PlacedControl& control : controls) {
        QRect& rect = control.rect;
        const int top = rect.top();
        const int bottom = top + rect.height();
        if (control.isBox) {
            rect.setHeight(rect.height() + GrowthWithin(rows, top, bottom));
            rect.moveTop(top + GrowthAbove(rows, top));
            continue;
        }
        const auto row = std::find_if(rows.begin(), rows.end(), [top](const Row& candidate) {
            return top >= candidate.top && top < candidate.bottom;
        });
        const int grown = Shortfall(control);
        rect.setHeight(rect.height() + grown);
        rect.moveTop(top + GrowthAbove(rows, row->top) + (row->growth - grown) / 2);
    }
    int total = 0;
    for (const Row& row : rows)
        total += row.growth;
    return total;
}
