#include "request/evaluation_request.h"

#include <cstring>

#include "engine/evaluator.h"

namespace {

constexpr int kX = 'x' - 'a';
constexpr int kY = 'y' - 'a';
constexpr int kZ = 'z' - 'a';

}  // namespace

VariableValues ConvertValueTexts(const char* x, const char* y, const char* z) {
    return {ConvertValueText(x), ConvertValueText(y), ConvertValueText(z)};
}

// The text is measured once, here, and read where it lies: a text that ends within the
// capacity is the copy a buffer of that capacity would hold. Every run has a bank of its own on
// its caller's stack, so threads that evaluate at once never see each other's values.
bool EvaluateWithValues(const char* expression, float x, float y, float z, float& value,
                        FailureReport* report) {
    const std::size_t length = strnlen(expression, kExpressionCapacity);
    if (length == kExpressionCapacity) {
        value = 0.0f;
        if (report != nullptr) *report = {FailureReason::kExpressionTooLong, 0, nullptr};
        return false;
    }
    VariableBank variables{};
    variables[kX] = x;
    variables[kY] = y;
    variables[kZ] = z;
    return EvaluateMeasuredExpression(expression, static_cast<std::int32_t>(length), value,
                                      variables, report);
}

bool EvaluateWithValues(const char* expression, const char* x, const char* y, const char* z,
                        float& value, FailureReport* report) {
    const VariableValues values = ConvertValueTexts(x, y, z);
    return EvaluateWithValues(expression, values.x, values.y, values.z, value, report);
}

DisplayText ErrorDisplay() {
    DisplayText display;
    std::memcpy(display.text, kErrorText, sizeof kErrorText);
    return display;
}

DisplayText DisplayTextOf(bool evaluated, float value) {
    if (!evaluated) return ErrorDisplay();
    DisplayText display;
    FixedValueText(value, display.text);
    return display;
}

DisplayText EvaluationRequest(const char* expression, const char* x, const char* y, const char* z) {
    float value = 0.0f;
    const bool evaluated = EvaluateWithValues(expression, x, y, z, value);
    return DisplayTextOf(evaluated, value);
}

EvaluationAnswer AnswerRequest(const char* expression, const char* x, const char* y,
                               const char* z) {
    EvaluationAnswer answer;
    answer.evaluated = EvaluateWithValues(expression, x, y, z, answer.value, &answer.report);
    answer.display = DisplayTextOf(answer.evaluated, answer.value);
    return answer;
}
