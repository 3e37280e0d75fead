#pragma once

#include <cstdint>

#include "tests/engine/reference/lexical_rules.h"
#include "tests/engine/reference/symbol_descriptor.h"

namespace reference {

// The working record of one EvaluateExpression call.
struct EvalState {
    std::int32_t cursor;
    float operand;
    std::int32_t count;
    float acc0, acc1, acc2;
    const SymbolDescriptor* lowOp;
    const SymbolDescriptor* highOp;
    const SymbolDescriptor* sign;
    std::int32_t length;
    std::int32_t integer;
    float* result;
    char token[kTokenCapacity];
};

extern const SymbolDescriptor kSignTable[2];
extern const SymbolDescriptor kOperatorTable[6];

// The 26 variables a..z; rewritten by every request, only read by the evaluator.
extern float g_variableBank[26];

// Evaluates a NUL-terminated expression. result is 0 unless the evaluation succeeds.
bool EvaluateExpression(const char* text, float& result);

const SymbolDescriptor* MatchSign(const char* text, std::int32_t& cursor);

}  // namespace reference
