#include "cli/result_text.h"

#include <cstring>

#include "frontend/exact_value_text.h"

namespace {

bool ExactResultText(const char* expression, const ValueTexts& values, DisplayText& result) {
    float value = 0.0f;
    if (!EvaluateWithValues(expression, values.x, values.y, values.z, value)) {
        ErrorResultText(result);
        return false;
    }
    ExactValueText(value, result.text, sizeof result.text);
    return true;
}

}  // namespace

void ErrorResultText(DisplayText& result) {
    std::memcpy(result.text, kErrorText, sizeof kErrorText);
}

bool ResultText(const char* expression, const ValueTexts& values, bool exact, DisplayText& result) {
    if (exact) return ExactResultText(expression, values, result);
    result = EvaluationRequest(expression, values.x, values.y, values.z);
    // No "%f" text can equal the error text, so it alone tells a failure.
    return std::strcmp(result.text, kErrorText) != 0;
}
