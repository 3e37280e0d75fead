#pragma once

#include <cstdint>

namespace reference {

// A scientific literal (digits with one point, then e or E, an optional sign and digits) read
// straight from the text at the cursor; on success the cursor stands on the delimiter after it.
bool ParseScientific(const char* text, std::int32_t& cursor, float& value);

// A whole token in hexadecimal (0x), binary (0y), octal (0) or decimal integer form, wrapping
// modulo 2^32 (decimal saturates at 2147483647).
bool ParseInteger(const char* token, std::int32_t& integer);

// A whole token of digits with exactly one point.
bool ParseDecimal(const char* token, float& value);

}  // namespace reference
