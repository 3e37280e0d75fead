#pragma once

#include "engine/failure_report.h"

inline constexpr int kVariableCount = 26;

// The variables a..z, slot 0 = a.
using VariableBank = float[kVariableCount];

// The process-wide bank that the shorter forms read; rewritten by every request, only read by
// the evaluator.
extern VariableBank g_variableBank;

// Evaluates a NUL-terminated expression. result is 0 unless the evaluation succeeds.
bool EvaluateExpression(const char* text, float& result);

// The same; on failure a non-null report receives the first failure's reason and column. Asking
// changes nothing else: not the result, not which draws rand takes.
bool EvaluateExpression(const char* text, float& result, FailureReport* report);

// The same over the caller's own variables instead of the process-wide bank.
bool EvaluateExpression(const char* text, float& result, const VariableBank& variables,
                        FailureReport* report);
