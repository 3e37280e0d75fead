#include "library/scalar_functions.h"

#include <cmath>

#include "library/random_generator.h"
#include "library/single_rounding.h"

namespace {

constexpr float kOne = 1.0f;
constexpr float kMinusOne = -1.0f;
constexpr float kHalfPi = 1.5707963705062866f;
constexpr float kPi = 3.1415927410125732f;
constexpr double kLn2 = static_cast<double>(0.6931471824645996f);
constexpr double kRandomScale = 0x1p-15;
constexpr double kRedWeight = static_cast<double>(0.299f);
constexpr double kGreenWeight = static_cast<double>(0.587f);
constexpr double kBlueWeight = static_cast<double>(0.114f);
constexpr double kThirdDivisor = 3.0;
constexpr double kQuarterFactor = 0.25;

double Wide(float x) {
    return static_cast<double>(x);
}

// r x 2^-15 is exact, so t keeps every bit of the draw.
double RandomFraction() {
    return static_cast<double>(DrawRandom15()) * kRandomScale;
}

}  // namespace

float Floor(float x) {
    return RoundToSingle(std::floor(Wide(x)));
}
float Ceil(float x) {
    return RoundToSingle(std::ceil(Wide(x)));
}

// Both zeros pass the test and NaN fails it.
float Sign(float x) {
    return x >= 0.0f ? kOne : kMinusOne;
}

float Sqrt(float x) {
    if (x < 0.0f) return 0.0f;
    return RoundToSingle(std::sqrt(Wide(x)));
}

float Exp(float x) {
    return RoundToSingle(std::exp(Wide(x)));
}

float Log(float x) {
    if (x < 0.0f) return 0.0f;
    return RoundToSingle(std::log(Wide(x)));
}

// The natural logarithm is rounded to float before the division, which is what keeps
// powers of two exact.
float Log2(float x) {
    if (x < 0.0f) return 0.0f;
    const float naturalLog = RoundToSingle(std::log(Wide(x)));
    return RoundToSingle(Wide(naturalLog) / kLn2);
}

float Log10(float x) {
    if (x < 0.0f) return 0.0f;
    return RoundToSingle(std::log10(Wide(x)));
}

float Sin(float x) {
    return RoundToSingle(std::sin(Wide(x)));
}
float Cos(float x) {
    return RoundToSingle(std::cos(Wide(x)));
}
float Tan(float x) {
    return RoundToSingle(std::tan(Wide(x)));
}

float Asin(float x) {
    if (x >= kOne) return kHalfPi;
    if (x <= kMinusOne) return -kHalfPi;
    return RoundToSingle(std::asin(Wide(x)));
}

float Acos(float x) {
    if (x >= kOne) return 0.0f;
    if (x <= kMinusOne) return kPi;
    return RoundToSingle(std::acos(Wide(x)));
}

float Atan(float x) {
    return RoundToSingle(std::atan(Wide(x)));
}

float Rand(float x) {
    return RoundToSingle(RandomFraction() * Wide(x));
}

float Atan2(float y, float x) {
    return RoundToSingle(std::atan2(Wide(y), Wide(x)));
}

float Rand2(float a, float b) {
    const double t = RandomFraction();
    return RoundToSingle(Wide(a) + (Wide(b) - Wide(a)) * t);
}

float Lerp(float a, float b, float t) {
    return RoundToSingle(Wide(a) + (Wide(b) - Wide(a)) * Wide(t));
}

// The upper bound comes second and is tested first, so inverted bounds favour it.
float Clamp(float v, float upper, float lower) {
    if (upper < v) return upper;
    if (lower > v) return lower;
    return v;
}

float Gray(float r, float g, float b) {
    return RoundToSingle(Wide(r) * kRedWeight + Wide(g) * kGreenWeight + Wide(b) * kBlueWeight);
}

float Add3(float a, float b, float c) {
    return RoundToSingle(Wide(a) + Wide(b) + Wide(c));
}

float Min3(float a, float b, float c) {
    const float m = b > a ? a : b;
    return m > c ? c : m;
}

float Max3(float a, float b, float c) {
    const float m = b < a ? a : b;
    return m < c ? c : m;
}

float Average3(float a, float b, float c) {
    return RoundToSingle((Wide(a) + Wide(b) + Wide(c)) / kThirdDivisor);
}

float Add4(float a, float b, float c, float d) {
    return RoundToSingle(Wide(a) + Wide(b) + Wide(c) + Wide(d));
}

float Min4(float a, float b, float c, float d) {
    float m = b > a ? a : b;
    if (m > c) m = c;
    return d < m ? d : m;
}

float Max4(float a, float b, float c, float d) {
    float m = b < a ? a : b;
    if (m < c) m = c;
    return d > m ? d : m;
}

float Average4(float a, float b, float c, float d) {
    return RoundToSingle((Wide(a) + Wide(b) + Wide(c) + Wide(d)) * kQuarterFactor);
}
