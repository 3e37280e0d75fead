#include "window/dialog_units.h"

#include <gtest/gtest.h>

#include "window/control_heights.h"
#include "window/dialog_template.h"
#include "window/width_fit.h"

namespace {

struct MulDivRow {
    int number;
    int numerator;
    int denominator;
    int expected;
};

TEST(DialogUnitsTest, MulDivRoundsHalfAwayFromZero) {
    const MulDivRow rows[] = {
        {539, 6, 4, 809},  // 808.5 rounds up
        {53, 13, 8, 86},   // 86.125 rounds down
        {13, 12, 8, 20},   // 19.5
        {3, 5, 2, 8},      // 7.5
        {-3, 5, 2, -8},    // -7.5 rounds away from zero as well
        {3, -5, 2, -8},
        {3, 5, -2, -8},
        {-3, -5, 2, 8},
        {0, 7, 4, 0},
        {1, 1, 3, 0},                    // a third rounds to zero
        {2, 1, 3, 1},                    // two thirds to one
        {2000000000, 3, 4, 1500000000},  // the product needs 64 bits
    };
    for (const MulDivRow& row : rows) {
        EXPECT_EQ(MulDiv(row.number, row.numerator, row.denominator), row.expected)
            << row.number << " * " << row.numerator << " / " << row.denominator;
    }
}

TEST(DialogUnitsTest, AverageCharWidthHalvesTheTwentySixthAndRoundsUp) {
    const struct {
        int widthOfLetters;
        int expected;
    } rows[] = {
        {312, 6},  // 12 per pair of letters
        {337, 6},  // 12.96 truncates to 12 first
        {338, 7},  // 13
        {364, 7},  // 14
        {389, 7},  // 14.96
        {390, 8},  // 15
        {0, 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(AverageCharWidth(row.widthOfLetters), row.expected) << row.widthOfLetters;
    }
}

TEST(DialogUnitsTest, PixelRectScalesEachEdgeByItsOwnUnit) {
    const struct {
        DialogUnitRect units;
        DialogBaseUnits base;
        QRect expected;
    } rows[] = {
        {{0, 0, 539, 53}, {6, 13}, QRect(0, 0, 809, 86)},
        {{472, 28, 56, 13}, {6, 13}, QRect(708, 46, 84, 21)},
        {{12, 13, 514, 12}, {7, 16}, QRect(21, 26, 900, 24)},
        {{189, 30, 32, 8}, {8, 15}, QRect(378, 56, 64, 15)},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(PixelRect(row.units, row.base), row.expected)
            << row.units.x << "," << row.units.y << " " << row.units.width << "x"
            << row.units.height;
    }
}

TEST(DialogTemplateTest, IdentifiersAreFoundAndStaticsAreNot) {
    const struct {
        int id;
        std::size_t expectedIndex;
    } rows[] = {
        {IDC_CALCULATE, 0},
        {IDC_EXPRESSION, 1},
        {IDC_RESULT, 3},
        {IDC_X, 4},
        {IDC_Y, 6},
        {IDC_Z, 8},
        {IDC_STATIC, kMainControlCount},
        {4711, kMainControlCount},
    };
    for (const auto& row : rows)
        EXPECT_EQ(IndexOfControl(row.id), row.expectedIndex) << row.id;
}

bool Contains(const DialogUnitRect& outer, const DialogUnitRect& inner) {
    return inner.x >= outer.x && inner.y >= outer.y &&
           inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

TEST(DialogTemplateTest, EveryControlLiesInsideTheClientAreaAndTheGroupBox) {
    const DialogUnitRect& groupBox = kMainControls[2].rect;
    ASSERT_EQ(kMainControls[2].kind, ControlKind::kGroupBox);
    for (const ControlTemplate& control : kMainControls) {
        EXPECT_TRUE(Contains(kMainClientArea, control.rect)) << control.objectName;
        if (control.kind != ControlKind::kGroupBox) {
            EXPECT_TRUE(Contains(groupBox, control.rect)) << control.objectName << control.text;
        }
    }
}

TEST(DialogTemplateTest, SecondRowReadsFromLeftToRightWithoutOverlap) {
    const int rowOrder[] = {5, 4,  7, 6, 9,
                            8, 10, 3, 0};  // X: X Y: Y Z: Z result-label result button
    for (std::size_t i = 1; i < std::size(rowOrder); ++i) {
        const DialogUnitRect& left = kMainControls[rowOrder[i - 1]].rect;
        const DialogUnitRect& right = kMainControls[rowOrder[i]].rect;
        EXPECT_LE(left.x + left.width, right.x) << "control " << rowOrder[i];
    }
}

}  // namespace

// A box around two rows: an upper field, and a lower row of a label, a field and a button.
TEST(ControlHeightsTest, RowsGrowByTheirLargestShortfall) {
    const struct {
        const char* name;
        int upperNeed, labelNeed, lowerNeed;
        int growth;
        QRect upper, label, lower, button, box;
    } rows[] = {
        {"nothing needed", 0, 0, 0, 0, QRect(10, 10, 100, 20), QRect(10, 42, 20, 16),
         QRect(40, 40, 50, 20), QRect(100, 40, 40, 22), QRect(0, 0, 150, 70)},
        {"needs met", 20, 16, 18, 0, QRect(10, 10, 100, 20), QRect(10, 42, 20, 16),
         QRect(40, 40, 50, 20), QRect(100, 40, 40, 22), QRect(0, 0, 150, 70)},
        {"upper row grows", 26, 0, 0, 6, QRect(10, 10, 100, 26), QRect(10, 48, 20, 16),
         QRect(40, 46, 50, 20), QRect(100, 46, 40, 22), QRect(0, 0, 150, 76)},
        {"lower field grows, the rest stay centred", 0, 0, 30, 10, QRect(10, 10, 100, 20),
         QRect(10, 47, 20, 16), QRect(40, 40, 50, 30), QRect(100, 45, 40, 22),
         QRect(0, 0, 150, 80)},
        {"both rows grow", 24, 0, 28, 12, QRect(10, 10, 100, 24), QRect(10, 50, 20, 16),
         QRect(40, 44, 50, 28), QRect(100, 48, 40, 22), QRect(0, 0, 150, 82)},
        {"a label's need counts too", 0, 20, 0, 4, QRect(10, 10, 100, 20), QRect(10, 42, 20, 20),
         QRect(40, 42, 50, 20), QRect(100, 42, 40, 22), QRect(0, 0, 150, 74)},
    };
    for (const auto& row : rows) {
        PlacedControl controls[] = {
            {QRect(10, 10, 100, 20), row.upperNeed, false},
            {QRect(10, 42, 20, 16), row.labelNeed, false},
            {QRect(40, 40, 50, 20), row.lowerNeed, false},
            {QRect(100, 40, 40, 22), 0, false},
            {QRect(0, 0, 150, 70), 0, true},
        };
        EXPECT_EQ(FitNeededHeights(controls), row.growth) << row.name;
        EXPECT_EQ(controls[0].rect, row.upper) << row.name;
        EXPECT_EQ(controls[1].rect, row.label) << row.name;
        EXPECT_EQ(controls[2].rect, row.lower) << row.name;
        EXPECT_EQ(controls[3].rect, row.button) << row.name;
        EXPECT_EQ(controls[4].rect, row.box) << row.name;
    }
}

// The template's second row in miniature: a label and a field that stay, a yielding field, a
// button after it; a yielding field alone in the first row; the box around them all.
TEST(WidthFitTest, YieldingFieldsNarrowAndWhatFollowsThemMovesLeft) {
    const struct {
        int excess;
        QRect upper, label, field, result, button, box;
    } rows[] = {
        {0, QRect(10, 10, 300, 20), QRect(10, 40, 20, 16), QRect(35, 40, 40, 20),
         QRect(80, 40, 180, 20), QRect(265, 40, 45, 22), QRect(0, 0, 320, 70)},
        {-5, QRect(10, 10, 300, 20), QRect(10, 40, 20, 16), QRect(35, 40, 40, 20),
         QRect(80, 40, 180, 20), QRect(265, 40, 45, 22), QRect(0, 0, 320, 70)},
        {30, QRect(10, 10, 270, 20), QRect(10, 40, 20, 16), QRect(35, 40, 40, 20),
         QRect(80, 40, 150, 20), QRect(235, 40, 45, 22), QRect(0, 0, 290, 70)},
    };
    for (const auto& row : rows) {
        WidthFitControl controls[] = {
            {QRect(10, 10, 300, 20), true, false},  {QRect(10, 40, 20, 16), false, false},
            {QRect(35, 40, 40, 20), false, false},  {QRect(80, 40, 180, 20), true, false},
            {QRect(265, 40, 45, 22), false, false}, {QRect(0, 0, 320, 70), false, true},
        };
        NarrowBy(controls, row.excess);
        EXPECT_EQ(controls[0].rect, row.upper) << row.excess;
        EXPECT_EQ(controls[1].rect, row.label) << row.excess;
        EXPECT_EQ(controls[2].rect, row.field) << row.excess;
        EXPECT_EQ(controls[3].rect, row.result) << row.excess;
        EXPECT_EQ(controls[4].rect, row.button) << row.excess;
        EXPECT_EQ(controls[5].rect, row.box) << row.excess;
    }
}
