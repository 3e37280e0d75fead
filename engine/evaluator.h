#pragma once

#include <cstdint>

#include "engine/failure_report.h"

inline constexpr int kVariableCount = 26;

// The variables a..z, slot 0 = a.
using VariableBank = float[kVariableCount];

// Evaluates a NUL-terminated expression over the caller's variables. result is 0 unless the
// evaluation succeeds. On failure a non-null report receives the first failure's reason and
// column; asking changes nothing else: not the result, not which draws rand takes.
bool EvaluateExpression(const char* text, float& result, const VariableBank& variables,
                        FailureReport* report);

// The same over a text whose length the caller has measured: text[length] is its NUL.
bool EvaluateMeasuredExpression(const char* text, std::int32_t length, float& result,
                                const VariableBank& variables, FailureReport* report);
