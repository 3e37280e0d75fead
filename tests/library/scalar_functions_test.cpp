#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

#include "tests/library/scalar_cases.h"

namespace {

TEST(ScalarFunctions, DirectCallsGiveExactValues) {
    for (const ScalarCase& row : kScalarCases) {
        const float actual = row.apply(row.args);
        EXPECT_TRUE(SameValue(actual, row.value))
            << row.text << ": got " << actual << " (0x" << std::hex << BitsOf(actual) << "), want "
            << row.value << " (0x" << BitsOf(row.value) << ")";
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
        EXPECT_EQ(BitsOf(row.apply(row.args)), BitsOf(row.args[row.chosen])) << row.label;
    }
}

TEST(ScalarFunctions, RandScalesADrawBelowItsArgument) {
    struct RangeCase {
        float x;
        float low;
        float high;
    };
    constexpr RangeCase kRanges[] = {
        {10, 0, 9.9996948f},
        {-10, -9.9996948f, 0},
        {32768, 0, 32767},
    };
    for (const RangeCase& range : kRanges) {
        for (int i = 0; i < 500; ++i) {
            const float value = Rand(range.x);
            ASSERT_GE(value, range.low) << "rand(" << range.x << ")";
            ASSERT_LE(value, range.high) << "rand(" << range.x << ")";
        }
    }
    for (int i = 0; i < 500; ++i) {
        const float draw = Rand(32768);
        ASSERT_EQ(draw, static_cast<float>(static_cast<std::int32_t>(draw))) << "not a whole draw";
    }
}

TEST(ScalarFunctions, Rand2StartsAtTheFirstArgumentAndStaysShortOfTheSecond) {
    struct RangeCase {
        float a;
        float b;
        float low;
        float high;
    };
    constexpr RangeCase kRanges[] = {
        {2, 4, 2, 3.99993896f},
        {4, 2, 2.00006104f, 4},
        {-1, 1, -1, 0.99993896f},
        {5, 5, 5, 5},
    };
    for (const RangeCase& range : kRanges) {
        for (int i = 0; i < 500; ++i) {
            const float value = Rand2(range.a, range.b);
            ASSERT_GE(value, range.low) << "rand2(" << range.a << ", " << range.b << ")";
            ASSERT_LE(value, range.high) << "rand2(" << range.a << ", " << range.b << ")";
        }
    }
}

}  // namespace
