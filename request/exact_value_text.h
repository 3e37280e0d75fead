#pragma once

#include <cstddef>

// Texts that show a single-precision value exactly, for quorvel-eval and the window alike.

inline constexpr std::size_t kExactTextCapacity = 32;  // the longest shortest form and a NUL
inline constexpr std::size_t kBitsTextCapacity = 11;   // "0x", eight hex digits and a NUL

// The shortest text that reads back as the same value ("110000005120", "0.33333334", "1e-08",
// "-0", "inf", "-nan"), NUL-terminated. Writes at most capacity bytes, cutting the text short
// when it does not fit, and returns the length of the whole text, as snprintf does.
std::size_t ExactValueText(float value, char* buffer, std::size_t capacity);

// The value's 32-bit pattern as "0x" and eight uppercase hex digits ("0x3F800000" for 1).
void ValueBitsText(float value, char (&buffer)[kBitsTextCapacity]);
