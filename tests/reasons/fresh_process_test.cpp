// Run alone, in a process that has evaluated nothing: a failure text depends on the report and
// the expression only, not on what the process did before.
#include <cstdio>
#include <cstring>

#include "engine/evaluator.h"
#include "reasons/failure_explanation.h"

// Every variable 0.
constexpr VariableBank kNoVariables{};

int main() {
    char first[256];
    const FailureReport unknownPi{FailureReason::kUnknownName, 1, nullptr, {0, 2}, -1};
    ExplainFailure("pi+1", unknownPi, first, sizeof first);
    FailureReport report{};
    float value = 0.0f;
    EvaluateExpression("pi+1", value, kNoVariables, &report);
    char later[256];
    ExplainFailure("pi+1", report, later, sizeof later);
    const char* expected = "unknown name; did you mean PI";
    if (std::strcmp(first, expected) != 0 || std::strcmp(later, expected) != 0) {
        std::fprintf(stderr, "first: %s\nafter evaluating: %s\n", first, later);
        return 1;
    }
    return 0;
}
