#include "request/reusable_value_text.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

#include "engine/lexical_rules.h"
#include "engine/numeric_literals.h"

namespace {

constexpr int kTokenCharacters = kTokenCapacity - 1;

// The literal form of a magnitude: the shortest fixed-point digits that identify it, or, with
// most set, as many decimals as a token holds (exact for every float of 1 or more, and 17
// significant digits at least below it). A point is always there, since without one the
// digits would read as an integer that wraps at 32 bits.
bool FixedText(float magnitude, bool most, char (&token)[kTokenCapacity]) {
    char* const end = token + kTokenCharacters;
    std::to_chars_result written{};
    if (most) {
        // Rounded to no decimals, the whole part is as long as it is or one digit longer.
        const auto whole = std::to_chars(token, end, magnitude, std::chars_format::fixed, 0);
        if (whole.ec != std::errc{}) return false;
        const auto decimals = static_cast<int>(end - whole.ptr) - 1;
        written = std::to_chars(token, end, magnitude, std::chars_format::fixed, decimals);
        if (written.ec != std::errc{}) return false;
        while (written.ptr[-1] == '0' && written.ptr[-2] != '.')
            --written.ptr;
    } else {
        written = std::to_chars(token, end, magnitude, std::chars_format::fixed);
        if (written.ec != std::errc{}) return false;
        if (std::memchr(token, '.', static_cast<std::size_t>(written.ptr - token)) == nullptr) {
            if (end - written.ptr < 2) return false;
            *written.ptr++ = '.';
            *written.ptr++ = '0';
        }
    }
    *written.ptr = '\0';
    return true;
}

bool ReadsBack(const char* token, float magnitude) {
    float read = 0.0f;
    return ParseDecimal(token, read) &&
           std::bit_cast<unsigned>(read) == std::bit_cast<unsigned>(magnitude);
}

}  // namespace

bool ReusableValueText(float value, char (&text)[kReusableTextCapacity]) {
    text[0] = '\0';
    if (!std::isfinite(value)) return false;
    const float magnitude = std::fabs(value);
    char token[kTokenCapacity];
    if (!(FixedText(magnitude, false, token) && ReadsBack(token, magnitude)) &&
        !(FixedText(magnitude, true, token) && ReadsBack(token, magnitude))) {
        return false;
    }
    if (std::signbit(value)) {
        std::strcpy(text, "(-");
        std::strcat(text, token);
        std::strcat(text, ")");
    } else {
        std::strcpy(text, token);
    }
    return true;
}

bool JoinsNeighbours(char before, char after) {
    return !IsDelimiter(before) || !IsDelimiter(after);
}
