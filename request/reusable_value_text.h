#pragma once

#include <cstddef>

// A value as text that the expression language reads back to exactly the same float, to reuse a
// result in the next expression.

// A token of 63 characters, "(-" and ")" around it, and a NUL.
inline constexpr std::size_t kReusableTextCapacity = 67;

// Digits with one point ("0.1", "110000005120.0"), in brackets with its sign when negative
// ("(-0.5)"), checked through the literal reader the expression is read with. False, with an
// empty text, for infinities and not-a-number, which no literal gives.
bool ReusableValueText(float value, char (&text)[kReusableTextCapacity]);

// Whether a text put between these two characters (NUL at either end of the expression) would
// run into a token of theirs, so that it must go in brackets: "2" and "1.5" make "21.5".
bool JoinsNeighbours(char before, char after);
