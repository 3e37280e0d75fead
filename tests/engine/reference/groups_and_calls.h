#pragma once

#include <cstdint>

#include "tests/engine/reference/symbol_descriptor.h"

namespace reference {

inline constexpr int kGroupCapacity = 256;  // 255 characters and a NUL
inline constexpr int kBracketDepthLimit = 32;

// Rows 0-2 open, rows 3-5 close; an opener and a closer pair up by their index within a half.
inline constexpr SymbolDescriptor kBracketTable[6] = {
    NamedSymbol("(", kOpeningBracket), NamedSymbol("[", kOpeningBracket),
    NamedSymbol("{", kOpeningBracket), NamedSymbol(")", kClosingBracket),
    NamedSymbol("]", kClosingBracket), NamedSymbol("}", kClosingBracket),
};

const SymbolDescriptor* MatchOpenBracket(const char* text, std::int32_t& cursor,
                                         std::int32_t& index);

// Reads from just after an opener of openerIndex up to its closer (or, with commaEnds, up to a
// comma at its own level) and evaluates the copied text.
bool ReadGroup(const char* text, std::int32_t& cursor, float& value, std::int32_t openerIndex,
               bool commaEnds);

// Reads the bracketed argument list after a function name and applies the row's callable.
bool CallFunction(const SymbolDescriptor& row, std::int32_t& cursor, float& value,
                  const char* text);

}  // namespace reference
