#pragma once

#include <cstdint>

// Clinger's fast path: a decimal of digits (fewer than 20 of them, counted in count) with
// afterPoint of them after the point, read as the correctly rounded double in one division. Both
// operands are exact doubles when the digits make at most 2^53 and the power is at most 10^22;
// false, with value untouched, otherwise.
bool ExactDecimal(std::uint64_t digits, long count, long afterPoint, double& value);

// A literal whose run of digits and points (at most 63 of them) holds exactly one point, read
// straight from the text at the cursor with one measurement of that run: a fraction that a
// delimiter ends, or a scientific literal (the run, e or E, an optional sign and digits up to a
// delimiter), each converted once. A fraction reads as the token reader would read it. On
// success the cursor stands on the delimiter after it; false, with the cursor and the value
// untouched, for anything else.
bool ReadPointedLiteral(const char* text, std::int32_t& cursor, float& value);

// A plain decimal integer ("1" to "9", then digits, at most 63 characters, up to a delimiter)
// read straight from the text at the cursor in one pass: the value that ReadToken and
// ParseInteger give it. False, with the cursor unmoved, for anything else.
bool ReadDecimalInteger(const char* text, std::int32_t& cursor, std::int32_t& integer);

// A whole token in hexadecimal (0x), binary (0y), octal (0) or decimal integer form, wrapping
// modulo 2^32 (decimal stops at 2147483647).
bool ParseInteger(const char* token, std::int32_t& integer);

// A whole token of digits with exactly one point.
bool ParseDecimal(const char* token, float& value);
