#include <quorvel/quorvel.h>

#include <cstring>

#include "engine/program.h"
#include "reasons/failure_explanation.h"
#include "request/evaluation_request.h"
#include "request/exact_value_text.h"

#ifndef QUORVEL_VERSION
#error "QUORVEL_VERSION must be defined by the build"
#endif

static_assert(QUORVEL_DISPLAY_CAPACITY == kDisplayCapacity);

// The C interface of the library: null pointers are refused here, the rest is the request's.

namespace {

// A missing value text reads as an empty field does: 0.
const char* ValueTextOrEmpty(const char* text) {
    return text != nullptr ? text : "";
}

void Describe(const char* expression, const FailureReport& report, quorvel_failure& failure) {
    failure.reason =
        static_cast<int>(report.reason);  // the reasons' table asserts it is the C code
    failure.column = report.column;
    failure.text[0] = '\0';
    // A text too long to evaluate is never read past its first 1,024 bytes, here neither.
    const bool tooLong = report.reason == FailureReason::kExpressionTooLong;
    if (report.reason != FailureReason::kNone)
        ExplainFailure(tooLong ? "" : expression, report, failure.text, sizeof failure.text);
}

// The engine's program is the one behind the opaque C name.
const Program* ProgramOf(const quorvel_program* program) {
    return reinterpret_cast<const Program*>(program);
}

}  // namespace

bool quorvel_evaluate(const char* expression, float x, float y, float z, float* value) {
    if (expression == nullptr || value == nullptr) return false;
    return EvaluateWithValues(expression, x, y, z, *value);
}

bool quorvel_display(const char* expression, const char* x, const char* y, const char* z,
                     char display[QUORVEL_DISPLAY_CAPACITY]) {
    if (display == nullptr) return false;
    if (expression == nullptr) {
        const DisplayText error = ErrorDisplay();
        std::memcpy(display, error.text, std::strlen(error.text) + 1);
        return false;
    }
    float value = 0.0f;
    const bool evaluated = EvaluateWithValues(expression, ValueTextOrEmpty(x), ValueTextOrEmpty(y),
                                              ValueTextOrEmpty(z), value);
    const DisplayText text = DisplayTextOf(evaluated, value);
    std::memcpy(display, text.text, std::strlen(text.text) + 1);
    return evaluated;
}

std::size_t quorvel_exact_text(float value, char* buffer, std::size_t capacity) {
    return ExactValueText(value, buffer, buffer != nullptr ? capacity : 0);
}

bool quorvel_explain(const char* expression, float x, float y, float z, float* value,
                     quorvel_failure* failure) {
    if (expression == nullptr || value == nullptr || failure == nullptr) return false;
    FailureReport report{};
    const bool evaluated = EvaluateWithValues(expression, x, y, z, *value, &report);
    Describe(expression, report, *failure);
    return evaluated;
}

const char* quorvel_version(void) {
    return QUORVEL_VERSION;
}

quorvel_program* quorvel_prepare(const char* expression, quorvel_failure* failure) {
    FailureReport report{};
    Program* program = PrepareProgram(expression, &report);
    if (failure != nullptr) Describe(ValueTextOrEmpty(expression), report, *failure);
    return reinterpret_cast<quorvel_program*>(program);
}

float quorvel_run(const quorvel_program* program, float x, float y, float z) {
    if (program == nullptr) return 0.0f;
    return RunProgram(*ProgramOf(program), x, y, z);
}

void quorvel_run_many(const quorvel_program* program, size_t count, const float* x, const float* y,
                      const float* z, float* results) {
    if (program == nullptr || results == nullptr) return;
    RunProgramRows(*ProgramOf(program), count, x, y, z, results);
}

void quorvel_release(quorvel_program* program) {
    ReleaseProgram(reinterpret_cast<Program*>(program));
}
