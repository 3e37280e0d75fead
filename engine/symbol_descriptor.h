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
    std::uint32_t hash;
    std::int32_t kind;
    Function1 one;
    Function2 two;
    Function3 three;
    Function4 four;
    ArrayToValue arrayToValue;
    ArrayToArray arrayToArray;
};
