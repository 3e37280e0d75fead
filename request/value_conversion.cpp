#include "request/value_conversion.h"

#include <locale.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/lexical_rules.h"
#include "engine/numeric_literals.h"

namespace {

// The "C" locale object keeps the period as separator whatever locale the process runs in.
// Without it no conversion could be trusted, so its absence ends the process.
locale_t ClassicLocale() {
    static const locale_t classic = [] {
        const locale_t made = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        if (made == static_cast<locale_t>(nullptr)) {
            std::fputs("quorvel: cannot create the \"C\" locale\n", stderr);
            std::abort();
        }
        return made;
    }();
    return classic;
}

// Appends the digits at text to number (wrapping beyond 19 digits); returns the first non-digit.
const char* ReadDigits(const char* text, std::uint64_t& number) {
    for (; IsDigit(*text); ++text)
        number = number * 10 + static_cast<unsigned char>(*text - '0');
    return text;
}

// A sign, digits and one point ("1.5", "-2", "0.0") that the exact decimal fast path reads as
// the double strtod reads. Returns the end of that number, or null when the text does not start
// with one; the caller decides whether more may follow.
const char* ReadPlainDecimal(const char* text, double& value) {
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    std::uint64_t digits = 0;
    const char* point = ReadDigits(text, digits);
    const char* end = point;
    if (*point == '.') end = ReadDigits(point + 1, digits);
    const long afterPoint = end - point - (*point == '.' ? 1 : 0);
    const long count = (point - text) + afterPoint;
    double magnitude = 0.0;
    if (!ExactDecimal(digits, count, afterPoint, magnitude)) return nullptr;
    value = negative ? -magnitude : magnitude;
    return end;
}

// strtod skips these before a number.
bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Below 2^44 the value in millionths, |value| * 10^6, is below 2^64 and exact in a double (24
// significant bits times 15625 * 2^6 needs 38), so rounding it to a whole number of millionths,
// ties to even, gives exactly the six decimals "%f" writes.
constexpr double kFastFixedLimit = 0x1p44;
constexpr std::uint64_t kMillion = 1000000;

constexpr auto kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

std::size_t WriteFixedFast(float value, char* text) {
    const double millionths = std::fabs(static_cast<double>(value)) * static_cast<double>(kMillion);
    std::uint64_t units = static_cast<std::uint64_t>(millionths);
    const double rest = millionths - static_cast<double>(units);
    if (rest > 0.5 || (rest == 0.5 && (units & 1) != 0)) ++units;
    std::uint64_t whole = units / kMillion;
    auto fraction = static_cast<std::uint32_t>(units % kMillion);

    char* digits = text;
    if (std::signbit(value)) *digits++ = '-';
    int wholeDigits = 1;
    for (std::uint64_t bound = 10; whole >= bound; bound *= 10)
        ++wholeDigits;
    char* const point = digits + wholeDigits;
    for (char* at = point; at > digits; whole /= 10)
        *--at = static_cast<char>('0' + whole % 10);
    *point = '.';
    for (char* at = point + 5; at > point; at -= 2, fraction /= 100)
        std::memcpy(at, &kDigitPairs[2 * (fraction % 100)], 2);
    point[7] = '\0';
    return static_cast<std::size_t>(point + 7 - text);
}

}  // namespace

float ConvertValueText(const char* text) {
    double value = 0.0;
    const char* end = ReadPlainDecimal(text, value);
    if (end != nullptr && *end == '\0') return static_cast<float>(value);
    return ConvertValueTextGeneral(text);
}

const char* ReadDelimitedNumber(const char* text, const char* terminators, double& value) {
    if (IsSpace(*text)) return nullptr;
    const char* end = ReadPlainDecimal(text, value);
    if (end != nullptr && std::strchr(terminators, *end) != nullptr) return end;
    char* general = nullptr;
    value = strtod_l(text, &general, ClassicLocale());
    if (general == text || std::strchr(terminators, *general) == nullptr) return nullptr;
    return general;
}

float ConvertValueTextGeneral(const char* text) {
    return static_cast<float>(strtod_l(text, nullptr, ClassicLocale()));
}

bool IsWholeValueText(const char* text) {
    char* end = nullptr;
    strtod_l(text, &end, ClassicLocale());
    if (end == text) return false;
    while (*end == ' ')
        ++end;
    return *end == '\0';
}

std::size_t FixedValueText(float value, char* text) {
    if (std::fabs(value) < static_cast<float>(kFastFixedLimit)) return WriteFixedFast(value, text);
    return FixedValueTextGeneral(value, text);
}

std::size_t FixedValueTextGeneral(float value, char* text) {
    // Always fits: kFixedTextCapacity holds the longest text.
    char* const end = std::to_chars(text, text + kFixedTextCapacity - 1, static_cast<double>(value),
                                    std::chars_format::fixed, 6)
                          .ptr;
    *end = '\0';
    return static_cast<std::size_t>(end - text);
}
