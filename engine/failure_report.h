#pragma once

#include <cstdint>

struct SymbolDescriptor;

// Why an evaluation stopped, for callers that ask. Asking changes nothing else: not the result,
// not the display text, not which draws rand takes. New reasons go at the end, before kCount: the
// C interface publishes these numbers.
enum class FailureReason : std::uint8_t {
    kNone,
    kEmptyExpression,    // nothing but spaces (column 0)
    kExpressionTooLong,  // more than 1023 bytes (column 0)
    kNulByte,            // a NUL byte inside the line (column 0)
    kMisplacedSign,      // a sign after the start: at the sign
    kOperatorExpected,   // something else where an operator belongs: at it
    kOperandExpected,    // no operand where one belongs: at what stands there, or one past the end
    kUnknownName,        // a name that is no constant, variable or function: where it starts
    kScientificWithoutPoint,  // "1e3": where the number starts
    kOctalDigit,              // "08": where the number starts
    kMalformedNumber,   // any other token that starts with a digit or a point: where it starts
    kNameTooLong,       // a name or number of more than 63 characters: where it starts
    kExponentTooLong,   // a scientific exponent of more than 63 digits: where the number starts
    kUnclosedBracket,   // at the opener
    kWrongCloser,       // a closer of another kind: at the closer
    kNestedComma,       // a comma of a call inside a non-final argument: at it
    kGroupTooLong,      // a group text of more than 255 characters: at its opener
    kNestingTooDeep,    // brackets nested more than 32 deep: at the outermost opener
    kMissingArguments,  // a function name with no bracket after it: where the bracket belongs
    kArgumentCount,     // too few arguments: at the closer that came before a comma
    kArrayFunction,     // an array function, which no expression can call: at its name
    kOutOfMemory,       // no memory for a prepared program (column 0)
    kCommaOutsideCall,  // a comma where no call's arguments are: at it
    kCount
};

// A stretch of the expression in bytes, [begin, end).
struct TextSpan {
    std::int32_t begin;
    std::int32_t end;
};

// The first failure of an evaluation and what the engine saw there. column counts bytes from 1 in
// the whole expression (failures inside groups and arguments included); 0 when the reason concerns
// the whole text.
struct FailureReport {
    FailureReason reason;
    std::int32_t column;
    // The function the reason concerns: the call whose arguments hold the failure, the called
    // row for the reasons about a call, or the call a nested comma belongs to. Null when none.
    const SymbolDescriptor* function;
    // The token at the column: the name or number (a scientific one with its exponent), or the one
    // character that stands there; empty at the end of the text.
    TextSpan token{0, 0};
    // The bracket the reason concerns: the one left open, the one a wrong closer should close,
    // the group a comma stands in, or the bracket around the failure; -1 at the top level.
    std::int32_t opener = -1;
};
