#pragma once

#include "request/value_conversion.h"

// The one operation that joins the calculator window to the engine, in two steps that callers
// evaluating many expressions with the same X, Y and Z can take apart: converting the value
// texts, and evaluating with the values.

#include "engine/failure_report.h"

inline constexpr int kExpressionCapacity = 1024;  // 1023 bytes and a NUL
inline constexpr int kDisplayCapacity = 256;
inline constexpr char kErrorText[] = "Quorvel解析错误!";  // UTF-8
static_assert(kDisplayCapacity >= kFixedTextCapacity);

struct DisplayText {
    char text[kDisplayCapacity];
};

// The values of the variables x, y and z.
struct VariableValues {
    float x;
    float y;
    float z;
};

// Each text converted by ConvertValueText.
VariableValues ConvertValueTexts(const char* x, const char* y, const char* z);

// Evaluates the expression over a variable bank of this call's own (a to w 0, then x, y and z).
// Fails for an expression of more than 1023 bytes. A report, when given, receives why it failed
// (kExpressionTooLong at column 0 for the length), or kNone; asking changes nothing else.
bool EvaluateWithValues(const char* expression, float x, float y, float z, float& value,
                        FailureReport* report = nullptr);

// The same, with x, y and z read from their texts by ConvertValueText.
bool EvaluateWithValues(const char* expression, const char* x, const char* y, const char* z,
                        float& value, FailureReport* report = nullptr);

// The error text, as every caller shows a failed evaluation.
DisplayText ErrorDisplay();

// The "%f" text of the value, or the error text.
DisplayText DisplayTextOf(bool evaluated, float value);

DisplayText EvaluationRequest(const char* expression, const char* x, const char* y, const char* z);

// The display text together with the value it shows or why it failed, for a caller that shows
// more than the text.
struct EvaluationAnswer {
    DisplayText display;
    bool evaluated;        // false when the display holds the error text
    float value;           // 0 when not evaluated
    FailureReport report;  // reason kNone when evaluated
};

EvaluationAnswer AnswerRequest(const char* expression, const char* x, const char* y, const char* z);
