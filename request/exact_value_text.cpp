#include "request/exact_value_text.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>

std::size_t ExactValueText(float value, char* buffer, std::size_t capacity) {
    char text[kExactTextCapacity];
    const std::size_t length =
        static_cast<std::size_t>(std::to_chars(text, text + sizeof text, value).ptr - text);
    if (capacity == 0) return length;
    const std::size_t kept = length < capacity ? length : capacity - 1;
    std::memcpy(buffer, text, kept);
    buffer[kept] = '\0';
    return length;
}

void ValueBitsText(float value, char (&buffer)[kBitsTextCapacity]) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    buffer[0] = '0';
    buffer[1] = 'x';
    for (int i = 9; i >= 2; --i, bits >>= 4)
        buffer[i] = kDigits[bits & 0xF];
    buffer[10] = '\0';
}
