#include "cli/result_text.h"

#include <cstring>

#include "request/exact_value_text.h"

std::size_t ValueText(float value, ResultForm form, char* text) {
    static_assert(kValueTextCapacity >= kExactTextCapacity &&
                  kValueTextCapacity >= kBitsTextCapacity);
    switch (form) {
        case ResultForm::kExact:
            return ExactValueText(value, text, kValueTextCapacity);
        case ResultForm::kBits: {
            char bits[kBitsTextCapacity];
            ValueBitsText(value, bits);
            std::memcpy(text, bits, sizeof bits);
            return sizeof bits - 1;
        }
        case ResultForm::kDisplay:
            break;
    }
    return FixedValueText(value, text);
}

bool ResultText(const char* expression, const VariableValues& values, ResultForm form,
                DisplayText& result, FailureReport* report) {
    static_assert(sizeof result.text >= kValueTextCapacity);
    float value = 0.0f;
    if (!EvaluateWithValues(expression, values.x, values.y, values.z, value, report)) {
        result = ErrorDisplay();
        return false;
    }
    ValueText(value, form, result.text);
    return true;
}
