#pragma once

#include "engine/failure_report.h"
#include "engine/symbol_descriptor.h"

// What the evaluator hands to a program being prepared. Evaluation meets operands and calls in an
// order in which every call takes the values most recently delivered and not yet taken, so the
// recorder keeps them on a stack. While recording nothing is computed and nothing draws.
struct ProgramRecorder;

void RecordConstant(ProgramRecorder& recorder, float value);

// The variable a..z of this index.
void RecordVariable(ProgramRecorder& recorder, int index);

// A sign, an operator or a function of the registry, taking as many values as its kind says.
// Returns the 0 that evaluation carries in place of the value.
float RecordCall(ProgramRecorder& recorder, const SymbolDescriptor& row);

// Reads the text as EvaluateExpression does, with every variable unset (0), and hands what it
// meets to the recorder; fails as EvaluateExpression fails, with the same report.
bool RecordExpression(const char* text, FailureReport* report, ProgramRecorder& recorder);
