#pragma once

#include <cstdint>

#include "library/array_value.h"

enum SymbolKind : std::int32_t {
    kUnarySign = 1,
    kBinaryOperator = 2,
    kOpeningBracket = 3,
    kClosingBracket = 4,
    kFunction1 = 5,
    kFunction2 = 6,
    kFunction3 = 7,
    kFunction4 = 8,
    kArrayFunction = 9,
};

using Function1 = float (*)(float);
using Function2 = float (*)(float, float);
using Function3 = float (*)(float, float, float);
using Function4 = float (*)(float, float, float, float);
using ArrayToValue = float (*)(const ArrayValue&);
using ArrayToArray = void (*)(const ArrayValue&, ArrayValue&);

// One sign, operator, bracket or named function. Only the slot that the kind names is filled.
struct SymbolDescriptor {
    char name[24];
    std::uint32_t hash;  // kept for the record's layout; no lookup reads it
    std::int32_t kind;
    Function1 one;
    Function2 two;
    Function3 three;
    Function4 four;
    ArrayToValue arrayToValue;
    ArrayToArray arrayToArray;
};

// A row with its name and kind and every callable slot empty; the caller fills the one slot the
// kind names. Tables that do not use the hash hold 1 there.
constexpr SymbolDescriptor NamedSymbol(const char* name, SymbolKind kind, std::uint32_t hash = 1) {
    SymbolDescriptor row{};
    for (int i = 0; name[i] != '\0' && i < static_cast<int>(sizeof row.name) - 1; ++i) {
        row.name[i] = name[i];
    }
    row.hash = hash;
    row.kind = kind;
    return row;
}

// The same with its one callable in the given slot.
template <typename Callable>
constexpr SymbolDescriptor NamedSymbol(const char* name, SymbolKind kind,
                                       Callable SymbolDescriptor::*slot, Callable callable,
                                       std::uint32_t hash = 1) {
    SymbolDescriptor row = NamedSymbol(name, kind, hash);
    row.*slot = callable;
    return row;
}
