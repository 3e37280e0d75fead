#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/failure_report.h"

// The English sentence for a reason, without what an expression adds to it.
const char* ReasonText(FailureReason reason);

// The English reason why expression failed, naming the fix where the expression shows one
// ("a scientific number needs a point: write 1.0e3"). UTF-8, always NUL-terminated, cut to
// capacity at a character boundary.
void ExplainFailure(const char* expression, const FailureReport& report, char* text,
                    std::size_t capacity);

// The report's column in characters of the expression, as the user counts them (0 stays 0).
std::int32_t FailureColumn(const char* expression, const FailureReport& report);
