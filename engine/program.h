#pragma once

#include <cstddef>

#include "engine/failure_report.h"

// An expression read once into a fixed list of steps, to be run for any number of values of x, y
// and z with the results, draws and failures that evaluating its text gives (a to w read 0).
// A program never changes after it is prepared, so any number of threads may run it at once.
struct Program;

// The one allocation, in proportion to the text's length. Null when the text fails, with the
// report (when given) filled as EvaluateExpression fills it, or when memory runs out. Preparing
// never draws.
Program* PrepareProgram(const char* text, FailureReport* report);

float RunProgram(const Program& program, float x, float y, float z);

// count rows; a null x, y or z reads zeros, and results may be the same array as any of them.
// The same as RunProgram row by row, in order.
void RunProgramRows(const Program& program, std::size_t count, const float* x, const float* y,
                    const float* z, float* results);

void ReleaseProgram(Program* program);
