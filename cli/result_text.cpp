#include "cli/result_text.h"

#include <cstring>

#include "frontend/exact_value_text.h"

namespace {

bool ValueFormText(const char* expression, const ValueTexts& values, ResultForm form,
                   DisplayText& result) {
    float value = 0.0f;
    if (!EvaluateWithValues(expression, values.x, values.y, values.z, value)) {
        ErrorResultText(result);
        return false;
    }
    if (form == ResultForm::kBits) {
        char bits[kBitsTextCapacity];
        ValueBitsText(value, bits);
        std::memcpy(result.text, bits, sizeof bits);
    } else {
        ExactValueText(value, result.text, sizeof result.text);
    }
    return true;
}

}  // namespace

void ErrorResultText(DisplayText& result) {
    std::memcpy(result.text, kErrorText, sizeof kErrorText);
}

bool ResultText(const char* expression, const ValueTexts& values, ResultForm form,
                DisplayText& result) {
    if (form != ResultForm::kDisplay) return ValueFormText(expression, values, form, result);
    result = EvaluationRequest(expression, values.x, values.y, values.z);
    // No "%f" text can equal the error text, so it alone tells a failure.
    return std::strcmp(result.text, kErrorText) != 0;
}
