#pragma once

#include <cstdint>

#include "engine/evaluation.h"
#include "engine/symbol_descriptor.h"

inline constexpr int kGroupCapacity = 256;  // 255 characters and a NUL
inline constexpr int kBracketDepthLimit = 32;

// Rows 0-2 open, rows 3-5 close; an opener and a closer pair up by their index within a half.
inline constexpr SymbolDescriptor kBracketTable[6] = {
    NamedSymbol("(", kOpeningBracket), NamedSymbol("[", kOpeningBracket),
    NamedSymbol("{", kOpeningBracket), NamedSymbol(")", kClosingBracket),
    NamedSymbol("]", kClosingBracket), NamedSymbol("}", kClosingBracket),
};

// Whether c opens a bracket, and of which index.
bool IsOpener(char c, std::int32_t& index);

const SymbolDescriptor* MatchOpenBracket(const char* text, std::int32_t& cursor,
                                         std::int32_t& index);

// Reads a whole bracket group whose opener, of openerIndex, stands just before the cursor, up to
// its closer, and evaluates its text where it lies.
bool ReadGroup(const Expression& expression, const Span& span, std::int32_t& cursor, float& value,
               std::int32_t openerIndex);

// Reads the bracketed argument list after a function name (the name starts at nameAt) and
// applies the row's callable.
bool CallFunction(const Expression& expression, const Span& span, const SymbolDescriptor& row,
                  std::int32_t nameAt, std::int32_t& cursor, float& value);
