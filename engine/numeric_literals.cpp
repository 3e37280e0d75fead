#include "engine/numeric_literals.h"

#include <charconv>
#include <cstdint>

#include "engine/lexical_rules.h"

namespace {

constexpr int kWorkCharacters = kTokenCapacity - 1;
// 84 steps take any non-zero finite float to infinity or to 0, so longer exponents change nothing.
constexpr std::int32_t kScaleStepLimit = 84;

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr long kMostExactPowerOfTen = 22;  // 10^22 is the largest power of ten a double holds
constexpr std::uint64_t kMostExactInteger = std::uint64_t{1} << 53;
constexpr long kMostDigits = 19;  // any 19 digits fit 64 bits

// The digits of a decimal as they are read; digits past the twentieth are not taken, since more
// than 19 make no exact quotient.
struct DecimalDigits {
    std::uint64_t digits = 0;
    long count = 0;
    long afterPoint = 0;
};

void TakeDigit(DecimalDigits& taken, char digit, bool afterPoint) {
    if (taken.count > kMostDigits) return;
    taken.digits = taken.digits * 10 + static_cast<std::uint64_t>(digit - '0');
    ++taken.count;
    taken.afterPoint += afterPoint;
}

// Digits and one point, converted to double (always in range for 63 characters) and rounded
// once: the exact quotient where it applies, else what from_chars gives, which it equals.
float DecimalToFloat(const char* first, int length, const DecimalDigits& taken) {
    double value = 0.0;
    if (ExactDecimal(taken.digits, taken.count, taken.afterPoint, value)) {
        return static_cast<float>(value);
    }
    std::from_chars(first, first + length, value);
    return static_cast<float>(value);
}

float DecimalTextToFloat(const char* first, int length) {
    DecimalDigits taken;
    bool point = false;
    for (int i = 0; i < length; ++i) {
        if (first[i] == '.') {
            point = true;
        } else {
            TakeDigit(taken, first[i], point);
        }
    }
    return DecimalToFloat(first, length, taken);
}

}  // namespace

bool ExactDecimal(std::uint64_t digits, long count, long afterPoint, double& value) {
    if (count == 0 || count > kMostDigits || digits > kMostExactInteger ||
        afterPoint > kMostExactPowerOfTen) {
        return false;
    }
    value = static_cast<double>(digits) / kPowersOfTen[afterPoint];
    return true;
}

namespace {

// Decimal digits only; stops at INT32_MAX (the C library's atoi gives other values here, which
// the language leaves open).
std::int32_t SaturatingDigitsToInt(const char* digits, int length) {
    std::int64_t value = 0;
    for (int i = 0; i < length; ++i) {
        value = value * 10 + (digits[i] - '0');
        if (value > INT32_MAX) return INT32_MAX;
    }
    return static_cast<std::int32_t>(value);
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Digits of one radix accumulated modulo 2^32, read as two's complement.
bool AccumulateWrapping(const char* digits, std::uint32_t radix, std::int32_t& integer) {
    std::uint32_t sum = 0;
    for (const char* c = digits; *c != '\0'; ++c) {
        const int digit = HexDigitValue(*c);
        if (digit < 0 || static_cast<std::uint32_t>(digit) >= radix) return false;
        sum = sum * radix + static_cast<std::uint32_t>(digit);
    }
    integer = static_cast<std::int32_t>(sum);
    return true;
}

// Counts the mantissa (digits and exactly one point, at most 63 characters) and takes its digits;
// 0 when there is none.
int MeasureMantissa(const char* p, DecimalDigits& taken) {
    int length = 0;
    bool point = false;
    while (length < kWorkCharacters && (IsDigit(p[length]) || p[length] == '.')) {
        if (p[length] == '.') {
            if (point) return 0;
            point = true;
        } else {
            TakeDigit(taken, p[length], point);
        }
        ++length;
    }
    return point ? length : 0;
}

// Each step is one float multiplication or division, so the rounding of every step accumulates.
float ScaleByTens(float value, std::int32_t steps, bool negative) {
    if (steps > kScaleStepLimit) steps = kScaleStepLimit;
    for (std::int32_t i = 0; i < steps; ++i)
        value = negative ? value / 10.0f : value * 10.0f;
    return value;
}

}  // namespace

bool ReadPointedLiteral(const char* text, std::int32_t& cursor, float& value) {
    const char* p = text + cursor;
    if (!IsDigit(p[0])) return false;
    DecimalDigits taken;
    const int mantissa = MeasureMantissa(p, taken);
    if (mantissa == 0) return false;
    if (p[mantissa] != 'e' && p[mantissa] != 'E') {
        if (!IsDelimiter(p[mantissa])) return false;
        value = DecimalToFloat(p, mantissa, taken);
        cursor += mantissa;
        return true;
    }

    int at = mantissa + 1;
    const bool negative = p[at] == '-';
    if (p[at] == '+' || p[at] == '-') ++at;
    const int digitsStart = at;
    while (IsDigit(p[at])) {
        if (at - digitsStart == kWorkCharacters) return false;
        ++at;
    }
    if (!IsDelimiter(p[at])) return false;

    const float scaled = DecimalToFloat(p, mantissa, taken);
    value = ScaleByTens(scaled, SaturatingDigitsToInt(p + digitsStart, at - digitsStart), negative);
    cursor += at;
    return true;
}

bool ReadDecimalInteger(const char* text, std::int32_t& cursor, std::int32_t& integer) {
    const char* p = text + cursor;
    if (p[0] < '1' || p[0] > '9') return false;
    std::int64_t value = 0;
    int length = 0;
    for (; IsDigit(p[length]); ++length) {
        if (value <= INT32_MAX) value = value * 10 + (p[length] - '0');
    }
    if (length >= kTokenCapacity || !IsDelimiter(p[length])) return false;
    integer = value > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(value);
    cursor += length;
    return true;
}

bool ParseInteger(const char* token, std::int32_t& integer) {
    integer = 0;
    if (token[0] != '0') {
        int length = 0;
        for (; token[length] != '\0'; ++length) {
            if (!IsDigit(token[length])) return false;
        }
        integer = SaturatingDigitsToInt(token, length);
        return length > 0;
    }
    if (token[1] == 'x' || token[1] == 'X') return AccumulateWrapping(token + 2, 16, integer);
    if (token[1] == 'y' || token[1] == 'Y') return AccumulateWrapping(token + 2, 2, integer);
    return AccumulateWrapping(token + 1, 8, integer);
}

bool ParseDecimal(const char* token, float& value) {
    if (!IsDigit(token[0])) return false;
    bool point = false;
    int length = 0;
    for (; length < kWorkCharacters && token[length] != '\0'; ++length) {
        if (token[length] == '.') {
            if (point) return false;
            point = true;
        } else if (!IsDigit(token[length])) {
            return false;
        }
    }
    if (!point) return false;
    value = DecimalTextToFloat(token, length);
    return true;
}
