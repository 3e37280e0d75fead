#include "reasons/failure_explanation.h"

#include "reasons/failure_text.h"

namespace {

// In the order of FailureReason.
constexpr FailureLanguage kEnglish = {
    {
        {"no failure", nullptr, nullptr, nullptr},
        {"the expression is empty", nullptr, nullptr, nullptr},
        {"the expression is longer than 1023 bytes", nullptr, nullptr, nullptr},
        {"the line holds a NUL byte", nullptr, nullptr, nullptr},
        {"a sign is allowed only at the start; put the operand in brackets, as 2*(-3)", nullptr,
         nullptr, nullptr},
        {"an operator (+ - * / % ^) belongs here", nullptr, nullptr,
         "an operator (+ - * / %% ^) belongs here; %1$s takes %2$d argument%3$s"},
        {"an operand (a number, name or bracket) belongs here", nullptr, nullptr, nullptr},
        {"unknown name", "; did you mean %1$s", " '%1$s'", nullptr},
        {"a scientific number needs a point", ": write %1$s", nullptr, nullptr},
        {"a number that starts with 0 is octal and takes only the digits 0 to 7",
         "; write %1$s for the decimal number", nullptr, nullptr},
        {"malformed number", nullptr, " '%1$s'", nullptr},
        {"a name or number is longer than 63 characters", nullptr, nullptr, nullptr},
        {"the exponent has more than 63 digits", nullptr, nullptr, nullptr},
        {"this bracket is never closed", "; close it with %1$s", nullptr, nullptr},
        {"this closer does not match the open bracket", ": write %1$s", nullptr, nullptr},
        {"only the last argument may hold a call with several arguments", nullptr, nullptr,
         nullptr},
        {"this bracket group holds more than 255 characters", nullptr, nullptr, nullptr},
        {"this bracket group holds more than 31 brackets", nullptr, nullptr, nullptr},
        {"a function needs its arguments in brackets", nullptr, nullptr,
         "a function needs its arguments in brackets: %1$s takes %2$d argument%3$s, as "
         "%1$s(...)"},
        {"too few arguments", nullptr, nullptr, "too few arguments: %1$s takes %2$d argument%3$s"},
        {"an array function cannot be called in an expression", nullptr, nullptr,
         "%1$s is an array function and cannot be called in an expression"},
        {"not enough memory to prepare the expression", nullptr, nullptr, nullptr},
    },
    "the expression ends where an operand belongs",
    "; there is no implied multiplication: write *",
    "; this closer has no opening bracket",
    "; a tab is no space: only spaces may separate",
};
static_assert(FormatsAreWellFormed(kEnglish));

}  // namespace

const char* ReasonText(FailureReason reason) {
    return ReasonSentence(kEnglish, reason);
}

void ExplainFailure(const char* expression, const FailureReport& report, char* text,
                    std::size_t capacity) {
    WriteFailureText(kEnglish, expression, report, text, capacity);
}
