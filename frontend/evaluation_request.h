#pragma once

// The one operation that joins the calculator window to the engine.

inline constexpr int kExpressionCapacity = 1024;  // 1023 bytes and a NUL
inline constexpr int kDisplayCapacity = 256;
inline constexpr char kErrorText[] = "Quorvel解析错误!";  // UTF-8

struct DisplayText {
    char text[kDisplayCapacity];
};

// Converts a value text as the fields are read: leading white space skipped, the longest
// leading decimal number taken (period as separator, whatever the locale), 0 when there is
// none, rounded to float.
float ConvertValueText(const char* text);

// Sets up the calling thread's variable bank (a to w 0, then x, y and z) and evaluates the
// expression. Fails for an expression of more than 1023 bytes.
bool EvaluateWithValues(const char* expression, float x, float y, float z, float& value);

// The same, with x, y and z read from their texts by ConvertValueText.
bool EvaluateWithValues(const char* expression, const char* x, const char* y, const char* z,
                        float& value);

// The "%f" text of the value (period as separator, whatever the locale), or the error text.
DisplayText EvaluationRequest(const char* expression, const char* x, const char* y, const char* z);

// The same, also telling whether the expression evaluated, that is, whether the text is a value.
DisplayText EvaluationRequest(const char* expression, const char* x, const char* y, const char* z,
                              bool& evaluated);
