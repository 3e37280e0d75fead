#pragma once

// The one rounding that every operator, scalar function and array function body ends with: a
// double-precision result to the nearest float, ties to even. A result beyond the float range
// becomes an infinity of its sign.
inline float RoundToSingle(double value) {
    return static_cast<float>(value);
}
