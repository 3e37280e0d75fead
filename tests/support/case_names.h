#pragma once

#include <cctype>
#include <cstddef>
#include <string>

// A name for a parameterised case made from its text, as ctest lists it: letters and digits
// stay, each run of other bytes becomes one underscore, long texts are cut, and the row's index
// keeps names unique.
inline std::string CaseName(const std::string& text, std::size_t index) {
    constexpr std::size_t kLongest = 40;
    std::string name;
    for (unsigned char c : text) {
        if (name.size() >= kLongest) break;
        if (c < 0x80 && std::isalnum(c)) {
            name += static_cast<char>(c);
        } else if (name.empty() || name.back() != '_') {
            name += '_';
        }
    }
    return name + (name.empty() || name.back() == '_' ? "" : "_") + std::to_string(index);
}
