#pragma once

#include <cstddef>

#include "engine/failure_report.h"

// One language's sentences for one reason. Formats take their pieces from what the failed
// expression shows at the reported column; a sentence whose piece is missing is left out.
struct ReasonSentences {
    const char* text;      // the reason alone
    const char* fix;       // added after text when there is something to write instead: %1$s
    const char* token;     // added after text otherwise: %1$s the quoted name or number
    const char* function;  // instead of all that, when the reason concerns a known function:
                           // %1$s its name, %2$d how many arguments it takes, %3$s "s" unless 1
};

// A language's texts for every reason, and for what a few columns show.
struct FailureLanguage {
    ReasonSentences reasons[static_cast<int>(FailureReason::kCount)];
    const char* endsEarly;       // the expression ends where an operand belongs
    const char* impliedProduct;  // added when an opening bracket stands where an operator belongs
    const char* unopenedCloser;  // added when a closer that closes nothing stands there
    const char* tab;             // added when the name or number holds a tab
};

// Every percent sign in a format is "%%" or a numbered piece ("%1$s", "%2$d", "%3$s"), so a
// sentence can never ask printf for an argument it does not get.
constexpr bool IsWellFormedFormat(const char* format) {
    for (const char* c = format; c != nullptr && *c != '\0'; ++c) {
        if (*c != '%') continue;
        ++c;
        if (*c == '%') continue;
        if (*c < '1' || *c > '3' || c[1] != '$' || (c[2] != 's' && c[2] != 'd')) return false;
        c += 2;
    }
    return true;
}

constexpr bool FormatsAreWellFormed(const FailureLanguage& language) {
    for (const ReasonSentences& row : language.reasons) {
        if (!IsWellFormedFormat(row.fix) || !IsWellFormedFormat(row.token) ||
            !IsWellFormedFormat(row.function))
            return false;
    }
    return true;
}

// The language's sentence for a reason alone; "" past the table.
const char* ReasonSentence(const FailureLanguage& language, FailureReason reason);

// Why expression failed, in the language, naming the fix where the expression shows one.
// Always NUL-terminated, cut to capacity.
void WriteFailureText(const FailureLanguage& language, const char* expression,
                      const FailureReport& report, char* text, std::size_t capacity);
