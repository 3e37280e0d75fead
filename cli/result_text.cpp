#include "cli/result_text.h"

#include <charconv>
#include <cstring>

namespace {

bool ExactResultText(const char* expression, const ValueTexts& values, DisplayText& result) {
    float value = 0.0f;
    if (!EvaluateWithValues(expression, values.x, values.y, values.z, value)) {
        ErrorResultText(result);
        return false;
    }
    // The general style keeps large and tiny values in exponent form, as 1.10000005e+11.
    char* const last = result.text + sizeof result.text - 1;
    *std::to_chars(result.text, last, value, std::chars_format::general).ptr = '\0';
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
