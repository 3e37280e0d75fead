#include "frontend/evaluation_request.h"

#include <locale.h>
#include <charconv>
#include <cstdlib>
#include <cstring>

#include "engine/evaluator.h"

namespace {

constexpr int kX = 'x' - 'a';
constexpr int kY = 'y' - 'a';
constexpr int kZ = 'z' - 'a';

// The "C" locale object keeps the period as separator whatever locale the process runs in.
locale_t ClassicLocale() {
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return classic;
}

void PrepareVariableBank(float x, float y, float z) {
    std::memset(g_variableBank, 0, sizeof g_variableBank);
    g_variableBank[kX] = x;
    g_variableBank[kY] = y;
    g_variableBank[kZ] = z;
}

// Fixed notation with six decimals, exactly as "%f" writes it in the "C" locale.
void FormatValue(float value, DisplayText& display) {
    char* const last = display.text + sizeof display.text - 1;
    const auto [end, error] =
        std::to_chars(display.text, last, static_cast<double>(value), std::chars_format::fixed, 6);
    *(error == std::errc{} ? end : display.text) = '\0';
}

}  // namespace

float ConvertValueText(const char* text) {
    return static_cast<float>(strtod_l(text, nullptr, ClassicLocale()));
}

bool EvaluateWithValues(const char* expression, float x, float y, float z, float& value) {
    value = 0.0f;
    char buffer[kExpressionCapacity];
    const std::size_t length = strnlen(expression, kExpressionCapacity);
    PrepareVariableBank(x, y, z);
    if (length == kExpressionCapacity) return false;
    std::memcpy(buffer, expression, length + 1);
    return EvaluateExpression(buffer, value);
}

bool EvaluateWithValues(const char* expression, const char* x, const char* y, const char* z,
                        float& value) {
    const float xValue = ConvertValueText(x);
    const float yValue = ConvertValueText(y);
    const float zValue = ConvertValueText(z);
    return EvaluateWithValues(expression, xValue, yValue, zValue, value);
}

DisplayText EvaluationRequest(const char* expression, const char* x, const char* y, const char* z,
                              bool& evaluated) {
    DisplayText display;
    float value = 0.0f;
    evaluated = EvaluateWithValues(expression, x, y, z, value);
    if (evaluated) {
        FormatValue(value, display);
    } else {
        std::memcpy(display.text, kErrorText, sizeof kErrorText);
    }
    return display;
}

DisplayText EvaluationRequest(const char* expression, const char* x, const char* y, const char* z) {
    bool evaluated = false;
    return EvaluationRequest(expression, x, y, z, evaluated);
}
