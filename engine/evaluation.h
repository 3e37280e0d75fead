#pragma once

#include <cstdint>

#include "engine/failure_report.h"

struct ProgramRecorder;

// What every nested evaluation of one expression shares; passed down through the parameters.
struct Expression {
    const char* text;        // the whole expression, NUL-terminated
    const float* variables;  // a..z
    FailureReport* report;   // null unless the caller asks why the evaluation fails
    // Null, except while a program is prepared: then every operand and call goes there, in the
    // order evaluation meets them, and nothing is computed.
    ProgramRecorder* recorder;
};

// The stretch of the expression that one evaluation reads: the whole text, a bracket group or one
// argument, evaluated where it lies. text[end] is the NUL, closer or comma that ends it.
struct Span {
    std::int32_t begin;
    std::int32_t end;
    // Where each opener inside the innermost scanned group around this span is closed, by its
    // position less origin; null outside every group.
    const std::uint8_t* closerAt;
    std::int32_t origin;
    std::int32_t opener;           // the bracket this span stands in, -1 for the whole text
    const SymbolDescriptor* call;  // the function whose argument this span is, else null
};

bool EvaluateSpan(const Expression& expression, const Span& span, float& result);

// Records the first failure for a caller that asked (column = position + 1; position -1 gives
// column 0) and returns false, so that a failing reader can end with return Fail(...). The
// report's token is what stands at position unless tokenEnd says where it ends.
bool Fail(const Expression& expression, FailureReason reason, std::int32_t position,
          std::int32_t opener, const SymbolDescriptor* function, std::int32_t tokenEnd = -1);

// The same, with the bracket and the call of the span the failure lies in.
bool Fail(const Expression& expression, const Span& span, FailureReason reason,
          std::int32_t position, std::int32_t tokenEnd = -1);
