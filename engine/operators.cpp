#include "engine/operators.h"

float OpIdentity(float x) {
    return x;
}

float OpNegate(float x) {
    return RoundToSingle(-static_cast<double>(x));
}

float OpModulo(float a, float b) {
    if (IsTinyDivisor(b)) return 0.0f;
    return RoundToSingle(std::fmod(static_cast<double>(a), static_cast<double>(b)));
}

float OpPower(float a, float b) {
    return RoundToSingle(std::pow(static_cast<double>(a), static_cast<double>(b)));
}
