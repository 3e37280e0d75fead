#pragma once

#include <cmath>

#include "library/single_rounding.h"

// The built-in scalar functions behind the registry's one- to four-argument rows.
// Each widens its arguments to double, computes, and rounds once to float on return.

// Defined here so that a prepared program's loops run the very same body.
inline float Abs(float x) {
    return RoundToSingle(std::fabs(static_cast<double>(x)));
}
float Floor(float x);
float Ceil(float x);
float Sign(float x);
float Sqrt(float x);
float Exp(float x);
float Log(float x);
float Log2(float x);
float Log10(float x);
float Sin(float x);
float Cos(float x);
float Tan(float x);
float Asin(float x);
float Acos(float x);
float Atan(float x);
float Rand(float x);

// On a tie max keeps its first argument and min its second; a NaN fails every test. Defined here
// so that a prepared program's loops pick the same way.
inline float Max(float a, float b) {
    return b > a ? b : a;
}
inline float Min(float a, float b) {
    return b > a ? a : b;
}
float Atan2(float y, float x);
float Rand2(float a, float b);

float Lerp(float a, float b, float t);
float Clamp(float v, float upper, float lower);
float Gray(float r, float g, float b);
float Add3(float a, float b, float c);
float Min3(float a, float b, float c);
float Max3(float a, float b, float c);
float Average3(float a, float b, float c);

float Add4(float a, float b, float c, float d);
float Min4(float a, float b, float c, float d);
float Max4(float a, float b, float c, float d);
float Average4(float a, float b, float c, float d);
