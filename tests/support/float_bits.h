#pragma once

#include <bit>
#include <cstdint>
#include <cstdio>
#include <string>

inline std::uint32_t Bits(float value) {
    return std::bit_cast<std::uint32_t>(value);
}
inline float FromBits(std::uint32_t bits) {
    return std::bit_cast<float>(bits);
}

inline std::string Describe(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.9g (0x%08X)", static_cast<double>(value), Bits(value));
    return text;
}
