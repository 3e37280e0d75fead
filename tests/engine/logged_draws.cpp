#include "tests/engine/logged_draws.h"

#include <bit>
#include <cstdio>

DrawLog g_drawLog;

namespace {

float NextFraction() {
    g_drawLog.state = g_drawLog.state * 214013u + 2531011u;
    return static_cast<float>((g_drawLog.state >> 16) & 0x7FFFu) * 0x1p-15f;
}

}  // namespace

float LoggedRand(float x) {
    g_drawLog.draws.push_back(std::bit_cast<std::uint32_t>(x));
    return NextFraction() * x;
}

float LoggedRand2(float a, float b) {
    g_drawLog.draws.push_back((std::uint64_t{1} << 63) |
                              (std::uint64_t{std::bit_cast<std::uint32_t>(a)} << 31) |
                              std::bit_cast<std::uint32_t>(b));
    return a + (b - a) * NextFraction();
}

std::string Escaped(const std::string& text) {
    std::string escaped;
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F) {
            escaped += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            escaped += hex;
        }
    }
    return escaped;
}
