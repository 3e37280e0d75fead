#pragma once

#include <cstddef>
#include <string>

// Texts built to an exact size, for the tests that probe the fixed buffers.

// "1+1+...+1" of exactly length characters (length odd).
inline std::string FlatSum(std::size_t length) {
    std::string text = "1";
    while (text.size() + 2 <= length)
        text += "+1";
    return text;
}

inline std::string Repeat(const std::string& text, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i)
        repeated += text;
    return repeated;
}

// core inside depth pairs of round brackets.
inline std::string Nested(int depth, const std::string& core) {
    return Repeat("(", depth) + core + Repeat(")", depth);
}
