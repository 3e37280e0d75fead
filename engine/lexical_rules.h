#pragma once

#include <array>
#include <cstdint>

// The space is the only white space; these nineteen bytes end a token (and exponent digits).
inline constexpr std::array<bool, 256> kDelimiters = [] {
    std::array<bool, 256> table{};
    for (unsigned char c : {'\0', ' ', '%', '(', ')', '*', '+', ',', '-', '/', ':', '<', '=', '>',
                            '[', ']', '^', '{', '}'}) {
        table[c] = true;
    }
    return table;
}();

inline constexpr int kTokenCapacity = 64;  // 63 characters and a NUL

inline bool IsDelimiter(char c) {
    return kDelimiters[static_cast<unsigned char>(c)];
}
inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

inline void SkipSpaces(const char* text, std::int32_t& cursor) {
    while (text[cursor] == ' ')
        ++cursor;
}

// The length of the run of token characters at text, at most 63.
inline std::int32_t TokenLength(const char* text) {
    std::int32_t length = 0;
    while (length < kTokenCapacity - 1 && !IsDelimiter(text[length]))
        ++length;
    return length;
}

// The length of what stands at text: a run of token characters, else the one character; 0 at
// the end.
inline std::int32_t WhatStandsAt(const char* text) {
    const std::int32_t length = TokenLength(text);
    return length > 0 ? length : text[0] != '\0';
}

// Cuts the run of token characters at the cursor (after spaces) into token, at most 63 of them.
// Returns false when the run is empty; token is always left NUL-terminated.
bool ReadToken(const char* text, std::int32_t& cursor, char (&token)[kTokenCapacity]);
