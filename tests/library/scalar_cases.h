#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "library/scalar_functions.h"
#include "tests/support/float_bits.h"

// One row: an expression text, the same call made directly, and the exact value both give.
struct ScalarCase {
    const char* text;
    float (*apply)(const float* args);
    float args[4];
    float value;
};

template <float (*F)(float)>
float Apply1(const float* a) {
    return F(a[0]);
}
template <float (*F)(float, float)>
float Apply2(const float* a) {
    return F(a[0], a[1]);
}
template <float (*F)(float, float, float)>
float Apply3(const float* a) {
    return F(a[0], a[1], a[2]);
}
template <float (*F)(float, float, float, float)>
float Apply4(const float* a) {
    return F(a[0], a[1], a[2], a[3]);
}

inline constexpr float kInf = std::numeric_limits<float>::infinity();
inline constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
inline constexpr float kPiValue = 0x1.921fb6p+1f;  // the constant PI
inline constexpr float kEValue = 0x1.5bf0a8p+1f;   // the constant E
inline constexpr float kHalfPiValue = 0x1.921fb6p+0f;
inline constexpr float kLiteral3e38 = 0x1.c363c8p+127f;  // what the literal 3.0e38 reads as

// Exact bits, except that any NaN matches an expected NaN.
inline bool SameValue(float actual, float expected) {
    if (std::isnan(expected)) return std::isnan(actual);
    return Bits(actual) == Bits(expected);
}

// An expression spells NaN as pow(-8, 0.5), or as (-8)^0.5 where a comma would stand inside a
// nested bracket of a non-final argument.
inline constexpr ScalarCase kScalarCases[] = {
    {"abs(-3)", Apply1<Abs>, {-3}, 3},
    {"abs(-0)", Apply1<Abs>, {-0.0f}, 0},
    {"floor(-2.5)", Apply1<Floor>, {-2.5f}, -3},
    {"ceil(-2.5)", Apply1<Ceil>, {-2.5f}, -2},
    {"ceil(-0.5)", Apply1<Ceil>, {-0.5f}, -0.0f},
    {"sign(0)", Apply1<Sign>, {0}, 1},
    {"sign(-0)", Apply1<Sign>, {-0.0f}, 1},
    {"sign(-2)", Apply1<Sign>, {-2}, -1},
    {"sign(pow(-8, 0.5))", Apply1<Sign>, {kNaN}, -1},
    {"sqrt(-4)", Apply1<Sqrt>, {-4}, 0},
    {"sqrt(-0)", Apply1<Sqrt>, {-0.0f}, -0.0f},
    {"sqrt(2)", Apply1<Sqrt>, {2}, 0x1.6a09e6p+0f},
    {"sqrt(pow(-8, 0.5))", Apply1<Sqrt>, {kNaN}, kNaN},
    {"exp(1)", Apply1<Exp>, {1}, 0x1.5bf0a8p+1f},
    {"exp(89)", Apply1<Exp>, {89}, kInf},
    {"log(-1)", Apply1<Log>, {-1}, 0},
    {"log(0)", Apply1<Log>, {0}, -kInf},
    {"log(-0)", Apply1<Log>, {-0.0f}, -kInf},
    {"log(E)", Apply1<Log>, {kEValue}, 0x1.fffffep-1f},
    {"log2(8)", Apply1<Log2>, {8}, 3},
    {"log2(0.5)", Apply1<Log2>, {0.5f}, -1},
    {"log2(-8)", Apply1<Log2>, {-8}, 0},
    {"log2(0)", Apply1<Log2>, {0}, -kInf},
    {"log2(26)", Apply1<Log2>, {26}, 4.700439453125f},
    {"log2(30)", Apply1<Log2>, {30}, 0x1.3a0a8p+2f},
    {"log10(1000)", Apply1<Log10>, {1000}, 3},
    {"log10(-1)", Apply1<Log10>, {-1}, 0},
    {"log10(0)", Apply1<Log10>, {0}, -kInf},
    {"sin(PI)", Apply1<Sin>, {kPiValue}, -0x1.777a5cp-24f},
    {"cos(0)", Apply1<Cos>, {0}, 1},
    {"tan(0)", Apply1<Tan>, {0}, 0},
    {"asin(2)", Apply1<Asin>, {2}, kHalfPiValue},
    {"asin(1)", Apply1<Asin>, {1}, kHalfPiValue},
    {"asin(-1)", Apply1<Asin>, {-1}, -kHalfPiValue},
    {"asin(0.5)", Apply1<Asin>, {0.5f}, 0x1.0c1524p-1f},
    {"asin(pow(-8, 0.5))", Apply1<Asin>, {kNaN}, kNaN},
    {"acos(1)", Apply1<Acos>, {1}, 0},
    {"acos(-3)", Apply1<Acos>, {-3}, kPiValue},
    {"acos(-1)", Apply1<Acos>, {-1}, kPiValue},
    {"acos(0)", Apply1<Acos>, {0}, kHalfPiValue},
    {"atan(1)", Apply1<Atan>, {1}, 0x1.921fb6p-1f},
    {"rand(0)", Apply1<Rand>, {0}, 0},

    {"max(2, 3)", Apply2<Max>, {2, 3}, 3},
    {"max(3, 2)", Apply2<Max>, {3, 2}, 3},
    {"min(2, 3)", Apply2<Min>, {2, 3}, 2},
    {"min(3, 2)", Apply2<Min>, {3, 2}, 2},
    {"max(-0, 0)", Apply2<Max>, {-0.0f, 0}, -0.0f},
    {"max(0, -0)", Apply2<Max>, {0, -0.0f}, 0},
    {"min(-0, 0)", Apply2<Min>, {-0.0f, 0}, 0},
    {"min(0, -0)", Apply2<Min>, {0, -0.0f}, -0.0f},
    {"max(1, pow(-8, 0.5))", Apply2<Max>, {1, kNaN}, 1},
    {"max((-8)^0.5, 1)", Apply2<Max>, {kNaN, 1}, kNaN},
    {"min(1, pow(-8, 0.5))", Apply2<Min>, {1, kNaN}, kNaN},
    {"min((-8)^0.5, 1)", Apply2<Min>, {kNaN, 1}, 1},
    {"atan2(1, 0)", Apply2<Atan2>, {1, 0}, kHalfPiValue},
    {"atan2(0, -1)", Apply2<Atan2>, {0, -1}, kPiValue},
    {"rand2(5, 5)", Apply2<Rand2>, {5, 5}, 5},

    {"lerp(0, 10, 0.25)", Apply3<Lerp>, {0, 10, 0.25f}, 2.5f},
    {"lerp(2, 4, 2)", Apply3<Lerp>, {2, 4, 2}, 6},
    {"lerp(3.0e38, -3.0e38, 0.5)", Apply3<Lerp>, {kLiteral3e38, -kLiteral3e38, 0.5f}, 0},
    {"clamp(15, 10, 0)", Apply3<Clamp>, {15, 10, 0}, 10},
    {"clamp(-5, 10, 0)", Apply3<Clamp>, {-5, 10, 0}, 0},
    {"clamp(5, 10, 0)", Apply3<Clamp>, {5, 10, 0}, 5},
    {"clamp(5, 0, 10)", Apply3<Clamp>, {5, 0, 10}, 0},
    {"clamp(-5, 0, 10)", Apply3<Clamp>, {-5, 0, 10}, 10},
    {"clamp((-8)^0.5, 10, 0)", Apply3<Clamp>, {kNaN, 10, 0}, kNaN},
    {"clamp(5, (-8)^0.5, 0)", Apply3<Clamp>, {5, kNaN, 0}, 5},
    {"gray(1, 1, 1)", Apply3<Gray>, {1, 1, 1}, 1},
    {"gray(255, 255, 255)", Apply3<Gray>, {255, 255, 255}, 255},
    {"gray(1, 0, 0)", Apply3<Gray>, {1, 0, 0}, 0x1.322d0ep-2f},
    {"gray(10, 20, 30)", Apply3<Gray>, {10, 20, 30}, 0x1.226666p+4f},
    {"gray(3, 0, 0)", Apply3<Gray>, {3, 0, 0}, 0x1.cb4394p-1f},
    {"gray(1, 49, 3)", Apply3<Gray>, {1, 49, 3}, 0x1.d676cap+4f},
    {"add3(1, 2, 3)", Apply3<Add3>, {1, 2, 3}, 6},
    {"add3(3.0e38, 3.0e38, -3.0e38)",
     Apply3<Add3>,
     {kLiteral3e38, kLiteral3e38, -kLiteral3e38},
     kLiteral3e38},
    {"add3(3.0e38, 3.0e38, 0)", Apply3<Add3>, {kLiteral3e38, kLiteral3e38, 0}, kInf},
    {"min3(3, 1, 2)", Apply3<Min3>, {3, 1, 2}, 1},
    {"min3(-0, 0, -0)", Apply3<Min3>, {-0.0f, 0, -0.0f}, 0},
    {"min3(1, (-8)^0.5, 0)", Apply3<Min3>, {1, kNaN, 0}, kNaN},
    {"min3((-8)^0.5, 2, 1)", Apply3<Min3>, {kNaN, 2, 1}, 1},
    {"max3(3, 1, 2)", Apply3<Max3>, {3, 1, 2}, 3},
    {"max3(0, -0, 0)", Apply3<Max3>, {0, -0.0f, 0}, -0.0f},
    {"max3(1, 2, pow(-8, 0.5))", Apply3<Max3>, {1, 2, kNaN}, 2},
    {"average3(1, 2, 4)", Apply3<Average3>, {1, 2, 4}, 0x1.2aaaaap+1f},
    {"average3(3.0e38, 3.0e38, 3.0e38)",
     Apply3<Average3>,
     {kLiteral3e38, kLiteral3e38, kLiteral3e38},
     kLiteral3e38},

    {"add4(1, 2, 3, 4)", Apply4<Add4>, {1, 2, 3, 4}, 10},
    {"add4(3.0e38, 3.0e38, -3.0e38, -3.0e38)",
     Apply4<Add4>,
     {kLiteral3e38, kLiteral3e38, -kLiteral3e38, -kLiteral3e38},
     0},
    {"min4(4, 3, 2, 1)", Apply4<Min4>, {4, 3, 2, 1}, 1},
    {"min4(1, 2, 3, 4)", Apply4<Min4>, {1, 2, 3, 4}, 1},
    {"min4(-0, 0, -0, -0)", Apply4<Min4>, {-0.0f, 0, -0.0f, -0.0f}, 0},
    {"min4(1, 2, 3, pow(-8, 0.5))", Apply4<Min4>, {1, 2, 3, kNaN}, 1},
    {"max4(1, 2, 3, 4)", Apply4<Max4>, {1, 2, 3, 4}, 4},
    {"max4(4, 3, 2, 1)", Apply4<Max4>, {4, 3, 2, 1}, 4},
    {"max4(0, -0, 0, 0)", Apply4<Max4>, {0, -0.0f, 0, 0}, -0.0f},
    {"max4((-8)^0.5, 1, 3, 2)", Apply4<Max4>, {kNaN, 1, 3, 2}, 3},
    {"average4(1, 2, 3, 4)", Apply4<Average4>, {1, 2, 3, 4}, 2.5f},
    {"average4(3.0e38, 3.0e38, 3.0e38, 3.0e38)",
     Apply4<Average4>,
     {kLiteral3e38, kLiteral3e38, kLiteral3e38, kLiteral3e38},
     kLiteral3e38},
};
