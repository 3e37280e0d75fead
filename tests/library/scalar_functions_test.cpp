#include <gtest/gtest.h>

#include <bit>

#include "tests/library/scalar_cases.h"

namespace {

TEST(ScalarFunctions, DirectCallsGiveExactValues) {
    for (const ScalarCase& row : kScalarCases) {
        const float actual = row.apply(row.args);
        EXPECT_TRUE(SameValue(actual, row.value))
            << row.text << ": got " << actual << " (0x" << std::hex << Bits(actual) << "), want "
            << row.value << " (0x" << Bits(row.value) << ")";
    }
}

// A selection returns one argument untouched, so even a NaN's payload survives.
struct SelectionCase {
    const char* label;
    float (*apply)(const float* args);
    float args[4];
    int chosen;
};

constexpr float kPayloadNaN = std::bit_cast<float>(0x7FC01234u);

constexpr SelectionCase kSelectionCases[] = {
    {"min(1, nan)", Apply2<Min>, {1, kPayloadNaN}, 1},
    {"max(nan, 1)", Apply2<Max>, {kPayloadNaN, 1}, 0},
    {"min3(1, nan, 2)", Apply3<Min3>, {1, kPayloadNaN, 2}, 1},
    {"max3(1, nan, 2)", Apply3<Max3>, {1, kPayloadNaN, 2}, 1},
    {"min4(1, nan, 2, 3)", Apply4<Min4>, {1, kPayloadNaN, 2, 3}, 1},
    {"max4(1, nan, 2, 3)", Apply4<Max4>, {1, kPayloadNaN, 2, 3}, 1},
    {"clamp(nan, 10, 0)", Apply3<Clamp>, {kPayloadNaN, 10, 0}, 0},
    {"clamp(-0, 0, 0)", Apply3<Clamp>, {-0.0f, 0, 0}, 0},
    {"clamp(0, -0, 0)", Apply3<Clamp>, {0, -0.0f, 0}, 0},
    {"max(denormal, 0)", Apply2<Max>, {0x1p-149f, 0}, 0},
};

TEST(ScalarFunctions, SelectionsReturnAnArgumentBitForBit) {
    for (const SelectionCase& row : kSelectionCases) {
        EXPECT_EQ(Bits(row.apply(row.args)), Bits(row.args[row.chosen])) << row.label;
    }
}

// rand reaches x * 32767/32768 at most; rand2 starts at a and stops short of b.
TEST(ScalarFunctions, RandomResultsStayInTheirRange) {
    struct RangeCase {
        const char* label;
        float (*apply)(const float* args);
        float args[4];
        float low;
        float high;
    };
    constexpr RangeCase kRanges[] = {
        {"rand(10)", Apply1<Rand>, {10}, 0, 9.9996948f},
        {"rand(-10)", Apply1<Rand>, {-10}, -9.9996948f, 0},
        {"rand(32768)", Apply1<Rand>, {32768}, 0, 32767},
        {"rand2(2, 4)", Apply2<Rand2>, {2, 4}, 2, 3.99993896f},
        {"rand2(4, 2)", Apply2<Rand2>, {4, 2}, 2.00006104f, 4},
        {"rand2(-1, 1)", Apply2<Rand2>, {-1, 1}, -1, 0.99993896f},
        {"rand2(5, 5)", Apply2<Rand2>, {5, 5}, 5, 5},
    };
    for (const RangeCase& range : kRanges) {
        for (int i = 0; i < 500; ++i) {
            const float value = range.apply(range.args);
            ASSERT_GE(value, range.low) << range.label;
            ASSERT_LE(value, range.high) << range.label;
        }
    }
}

}  // namespace
