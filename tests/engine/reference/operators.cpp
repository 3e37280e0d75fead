#include "tests/engine/reference/operators.h"

#include <cfloat>
#include <cmath>

namespace reference {

namespace {

float Round(double value) {
    return static_cast<float>(value);
}

// The divisor tests guard against blowing up on tiny divisors rather than only on zero.
bool IsTinyDivisor(float b) {
    return std::fabs(static_cast<double>(b)) < FLT_EPSILON;
}

}  // namespace

float OpIdentity(float x) {
    return x;
}

float OpNegate(float x) {
    return Round(-static_cast<double>(x));
}

float OpAdd(float a, float b) {
    return Round(static_cast<double>(a) + static_cast<double>(b));
}

float OpSubtract(float a, float b) {
    return Round(static_cast<double>(a) - static_cast<double>(b));
}

float OpMultiply(float a, float b) {
    return Round(static_cast<double>(a) * static_cast<double>(b));
}

float OpDivide(float a, float b) {
    if (IsTinyDivisor(b)) return a > 0.0f ? FLT_MAX : -FLT_MAX;
    return Round(static_cast<double>(a) / static_cast<double>(b));
}

float OpModulo(float a, float b) {
    if (IsTinyDivisor(b)) return 0.0f;
    return Round(std::fmod(static_cast<double>(a), static_cast<double>(b)));
}

float OpPower(float a, float b) {
    return Round(std::pow(static_cast<double>(a), static_cast<double>(b)));
}

}  // namespace reference
