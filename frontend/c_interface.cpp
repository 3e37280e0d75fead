#include "include/quorvel/quorvel.h"

#include <cstring>

#include "frontend/evaluation_request.h"
#include "frontend/exact_value_text.h"

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

}  // namespace

bool quorvel_evaluate(const char* expression, float x, float y, float z, float* value) {
    if (expression == nullptr || value == nullptr) return false;
    return EvaluateWithValues(expression, x, y, z, *value);
}

bool quorvel_display(const char* expression, const char* x, const char* y, const char* z,
                     char display[QUORVEL_DISPLAY_CAPACITY]) {
    if (display == nullptr) return false;
    if (expression == nullptr) {
        std::memcpy(display, kErrorText, sizeof kErrorText);
        return false;
    }
    bool evaluated = false;
    const DisplayText text = EvaluationRequest(expression, ValueTextOrEmpty(x), ValueTextOrEmpty(y),
                                               ValueTextOrEmpty(z), evaluated);
    std::memcpy(display, text.text, std::strlen(text.text) + 1);
    return evaluated;
}

std::size_t quorvel_exact_text(float value, char* buffer, std::size_t capacity) {
    return ExactValueText(value, buffer, buffer != nullptr ? capacity : 0);
}

const char* quorvel_version(void) {
    return QUORVEL_VERSION;
}
