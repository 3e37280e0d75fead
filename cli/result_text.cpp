#include "cli/result_text.h"

#include <cstring>

#include "request/exact_value_text.h"

void ErrorResultText(DisplayText& result) {
    std::memcpy(result.text, kErrorText, sizeof kErrorText);
}

bool ResultText(const char* expression, const VariableValues& values, ResultForm form,
                DisplayText& result, FailureReport* report) {
    float value = 0.0f;
    if (!EvaluateWithValues(expression, values.x, values.y, values.z, value, report)) {
        ErrorResultText(result);
        return false;
    }
    switch (form) {
        case ResultForm::kDisplay:
            FixedValueText(value, result.text);
            break;
        case ResultForm::kExact:
            ExactValueText(value, result.text, sizeof result.text);
            break;
        case ResultForm::kBits: {
            char bits[kBitsTextCapacity];
            ValueBitsText(value, bits);
            std::memcpy(result.text, bits, sizeof bits);
            break;
        }
    }
    return true;
}
