#pragma once

#include <cstdint>

struct SymbolDescriptor;

// Why an evaluation stopped, for callers that ask. Asking changes nothing else: not the result,
// not the display text, not which draws rand takes.
enum class FailureReason : std::uint8_t {
    kNone,
    kEmptyExpression,         // nothing but spaces (column 0)
    kExpressionTooLong,       // more than 1023 bytes (column 0)
    kNulByte,                 // a NUL byte inside the line (column 0)
    kMisplacedSign,           // a sign after the start: at the sign
    kOperatorExpected,        // something else where an operator belongs: at it
    kOperandExpected,         // no operand where one belongs: at what stands there, or one past the end
    kUnknownName,             // a name that is no constant, variable or function: where it starts
    kScientificWithoutPoint,  // "1e3": where the number starts
    kOctalDigit,              // "08": where the number starts
    kMalformedNumber,         // any other digit-led token that is no number: where it starts
    kNameTooLong,             // a name or number of more than 63 characters: where it starts
    kExponentTooLong,         // a scientific exponent of more than 63 digits: where the number starts
    kUnclosedBracket,         // at the opener
    kWrongCloser,             // a closer of another kind: at the closer
    kNestedComma,             // a comma inside a nested bracket of a non-final argument: at it
    kGroupTooLong,            // a group text of more than 255 characters: at its opener
    kTooManyBrackets,         // more than 31 brackets inside one group: at its opener
    kMissingArguments,        // a function name with no bracket after it: where the bracket belongs
    kArgumentCount,           // too few arguments: at the closer that came before a comma
    kArrayFunction,           // an array function, which no expression can call: at its name
    kOutOfMemory,             // no memory for a prepared program (column 0)
    kCount
};

// The first failure of an evaluation. column counts bytes from 1 in the whole expression (failures
// inside groups and arguments included); 0 when the reason concerns the whole text.
struct FailureReport {
    FailureReason reason;
    std::int32_t column;
    const SymbolDescriptor* function;  // the registry row, for the reasons about a call
};
