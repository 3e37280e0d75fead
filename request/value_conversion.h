#pragma once

#include <cstddef>

// The request's two conversions between text and value, independent of the process locale
// (the period is the separator). Each takes an exact fast path for the common forms and hands
// everything else to the C library's general conversion; the General functions are that
// conversion alone, the reference the fast paths are proven identical to.

// "%f" of a finite float: a sign, 39 integer digits at most, the point and six decimals.
inline constexpr std::size_t kFixedTextCapacity = 48;

// A value text as strtod reads it in the "C" locale, rounded to float: leading white space
// skipped, then the longest prefix that is a decimal number (sign, digits, point, exponent), a
// hexadecimal one ("0x1.8p3"), an infinity ("inf", "infinity") or a not-a-number ("nan",
// "nan(...)"), case-insensitive; 0 when no prefix is a number.
float ConvertValueText(const char* text);
float ConvertValueTextGeneral(const char* text);

// Whether ConvertValueText reads the whole text, spaces around the number allowed: false for
// "1,5", "2.5.1", "abc", "2.5kg" and the empty text.
bool IsWholeValueText(const char* text);

// Reads the number at text when it is wholly one number in the forms above, with no white
// space before it, up to a NUL or a byte of terminators (none of which may continue a number).
// Returns where it ends and stores its double (the float ConvertValueText gives is that double
// rounded), or returns null.
const char* ReadDelimitedNumber(const char* text, const char* terminators, double& value);

// Writes the NUL-terminated "%f" text of the value widened to double, as printf writes it in
// the "C" locale (ties to even: 0.0078125 is "0.007812"), into at least kFixedTextCapacity
// bytes; returns its length.
std::size_t FixedValueText(float value, char* text);
std::size_t FixedValueTextGeneral(float value, char* text);
