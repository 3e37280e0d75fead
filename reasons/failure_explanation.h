#pragma once

#include <cstddef>

#include "engine/failure_report.h"

// The English sentence for a reason, without what an expression adds to it.
const char* ReasonText(FailureReason reason);

// The English reason why expression failed, naming the fix where the expression shows one
// ("a scientific number needs a point: write 1.0e3"). Always NUL-terminated, cut to capacity.
void ExplainFailure(const char* expression, const FailureReport& report, char* text,
                    std::size_t capacity);
