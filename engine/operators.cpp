#include "engine/operators.h"

#include <cfloat>
#include <cmath>

#include "library/single_rounding.h"

namespace {

// The divisor tests guard against blowing up on tiny divisors rather than only on zero.
bool IsTinyDivisor(float b) {
    return std::fabs(static_cast<double>(b)) < FLT_EPSILON;
}

}  // namespace

float OpIdentity(float x) {
    return x;
}

float OpNegate(float x) {
    return RoundToSingle(-static_cast<double>(x));
}

float OpAdd(float a, float b) {
    return RoundToSingle(static_cast<double>(a) + static_cast<double>(b));
}

float OpSubtract(float a, float b) {
    return RoundToSingle(static_cast<double>(a) - static_cast<double>(b));
}

float OpMultiply(float a, float b) {
    return RoundToSingle(static_cast<double>(a) * static_cast<double>(b));
}

float OpDivide(float a, float b) {
    if (IsTinyDivisor(b)) return a > 0.0f ? FLT_MAX : -FLT_MAX;
    return RoundToSingle(static_cast<double>(a) / static_cast<double>(b));
}

float OpModulo(float a, float b) {
    if (IsTinyDivisor(b)) return 0.0f;
    return RoundToSingle(std::fmod(static_cast<double>(a), static_cast<double>(b)));
}

float OpPower(float a, float b) {
    return RoundToSingle(std::pow(static_cast<double>(a), static_cast<double>(b)));
}
