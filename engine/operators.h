#pragma once

#include <cfloat>
#include <cmath>

#include "library/single_rounding.h"

// The operator functions behind the sign and operator tables (and eight registry rows).
// Each computes in double precision and rounds once to float. The four arithmetic operators are
// defined here so that a prepared program's loops run the very same bodies.

// The divisor tests guard against blowing up on tiny divisors rather than only on zero.
inline bool IsTinyDivisor(float b) {
    return std::fabs(static_cast<double>(b)) < FLT_EPSILON;
}

// On two NaNs the processor returns the first operand's, but a compiler may swap the operands of
// + and *, which it takes to commute. When a is NaN it stands for b as well, so that every copy of
// these bodies, inline or vectorised, gives a's NaN (quieted) whichever way round it computes.
inline float SecondOperand(float a, float b) {
    return a != a ? a : b;
}

inline float OpAdd(float a, float b) {
    return RoundToSingle(static_cast<double>(a) + static_cast<double>(SecondOperand(a, b)));
}

inline float OpSubtract(float a, float b) {
    return RoundToSingle(static_cast<double>(a) - static_cast<double>(b));
}

inline float OpMultiply(float a, float b) {
    return RoundToSingle(static_cast<double>(a) * static_cast<double>(SecondOperand(a, b)));
}

inline float OpDivide(float a, float b) {
    if (IsTinyDivisor(b)) return a > 0.0f ? FLT_MAX : -FLT_MAX;
    return RoundToSingle(static_cast<double>(a) / static_cast<double>(b));
}

// pow(a, 2) as a product: the square of a float is exact in double, and pow is within a unit in
// the last place, so both round once to the same float. quorvel-square-proof checks it for every
// float.
inline float OpSquare(float a) {
    return RoundToSingle(static_cast<double>(a) * static_cast<double>(a));
}

float OpIdentity(float x);
float OpNegate(float x);
float OpModulo(float a, float b);
float OpPower(float a, float b);
