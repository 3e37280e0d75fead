#include "cli/failure_explanation.h"

#include <cstdarg>
#include <cstdio>
#include <iterator>

#include "engine/symbol_descriptor.h"
#include "frontend/failure_hint.h"

namespace {

struct Sentence {
    char* text;
    std::size_t capacity;
    std::size_t length;
};

__attribute__((format(printf, 2, 3))) void Append(Sentence& sentence, const char* format, ...) {
    if (sentence.length + 1 >= sentence.capacity) return;
    std::va_list arguments;
    va_start(arguments, format);
    const int written = std::vsnprintf(sentence.text + sentence.length,
                                       sentence.capacity - sentence.length, format, arguments);
    va_end(arguments);
    if (written > 0) sentence.length += static_cast<std::size_t>(written);
    if (sentence.length >= sentence.capacity) sentence.length = sentence.capacity - 1;
}

// A token in quotes, its control bytes (a pasted tab) written as escapes that show.
void AppendQuoted(Sentence& sentence, const char* token) {
    Append(sentence, "'");
    for (const char* c = token; *c != '\0'; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        if (byte == '\t') {
            Append(sentence, "\\t");
        } else if (byte < 0x20 || byte == 0x7F) {
            Append(sentence, "\\x%02X", byte);
        } else {
            Append(sentence, "%c", *c);
        }
    }
    Append(sentence, "'");
}

const char* Plural(int count) {
    return count == 1 ? "" : "s";
}

// Each adds what the expression shows after the row's sentence, or writes a sentence of its
// own in its place.
using Detail = void (*)(const char* plain, const FailureHint& hint, Sentence& sentence);

void OperatorDetail(const char* plain, const FailureHint& hint, Sentence& sentence) {
    Append(sentence, "%s", plain);
    if (hint.function != nullptr) {
        Append(sentence, "; %s takes %d argument%s", hint.function->name, hint.arguments,
               Plural(hint.arguments));
    }
    if (hint.openerAhead) Append(sentence, "; there is no implied multiplication: write *");
    if (hint.closesNothing) Append(sentence, "; this closer has no opening bracket");
}

void OperandDetail(const char* plain, const FailureHint& hint, Sentence& sentence) {
    Append(sentence, "%s", hint.atEnd ? "the expression ends where an operand belongs" : plain);
}

void NameDetail(const char* plain, const FailureHint& hint, Sentence& sentence) {
    if (hint.fix[0] != '\0') {
        Append(sentence, "%s; did you mean %s", plain, hint.fix);
    } else {
        Append(sentence, "%s ", plain);
        AppendQuoted(sentence, hint.token);
    }
}

void TokenDetail(const char* plain, const FailureHint& hint, Sentence& sentence) {
    Append(sentence, "%s ", plain);
    AppendQuoted(sentence, hint.token);
}

// The row's sentence, then what to write instead.
void WriteDetail(const char* plain, const FailureHint& hint, Sentence& sentence) {
    Append(sentence, "%s", plain);
    if (hint.fix[0] != '\0') Append(sentence, ": write %s", hint.fix);
}

void OctalDetail(const char* plain, const FailureHint& hint, Sentence& sentence) {
    Append(sentence, "%s", plain);
    if (hint.fix[0] != '\0') Append(sentence, "; write %s for the decimal number", hint.fix);
}

void UnclosedDetail(const char* plain, const FailureHint& hint, Sentence& sentence) {
    Append(sentence, "%s", plain);
    if (hint.fix[0] != '\0') Append(sentence, "; close it with %s", hint.fix);
}

void CallDetail(const char* plain, const FailureHint& hint, Sentence& sentence) {
    Append(sentence, "%s", plain);
    if (hint.function == nullptr) return;
    Append(sentence, ": %s takes %d argument%s", hint.function->name, hint.arguments,
           Plural(hint.arguments));
}

void BracketCallDetail(const char* plain, const FailureHint& hint, Sentence& sentence) {
    CallDetail(plain, hint, sentence);
    if (hint.function != nullptr) Append(sentence, ", as %s(...)", hint.function->name);
}

void ArrayDetail(const char* plain, const FailureHint& hint, Sentence& sentence) {
    if (hint.function == nullptr) {
        Append(sentence, "%s", plain);
    } else {
        Append(sentence, "%s is an array function and cannot be called in an expression",
               hint.function->name);
    }
}

struct ReasonRow {
    FailureReason reason;
    const char* text;
    Detail detail;
};

using enum FailureReason;

constexpr ReasonRow kReasonRows[] = {
    {kNone, "no failure", nullptr},
    {kEmptyExpression, "the expression is empty", nullptr},
    {kExpressionTooLong, "the expression is longer than 1023 bytes", nullptr},
    {kNulByte, "the line holds a NUL byte", nullptr},
    {kMisplacedSign, "a sign is allowed only at the start; put the operand in brackets, as 2*(-3)",
     nullptr},
    {kOperatorExpected, "an operator (+ - * / % ^) belongs here", OperatorDetail},
    {kOperandExpected, "an operand (a number, name or bracket) belongs here", OperandDetail},
    {kUnknownName, "unknown name", NameDetail},
    {kScientificWithoutPoint, "a scientific number needs a point", WriteDetail},
    {kOctalDigit, "a number that starts with 0 is octal and takes only the digits 0 to 7",
     OctalDetail},
    {kMalformedNumber, "malformed number", TokenDetail},
    {kNameTooLong, "a name or number is longer than 63 characters", nullptr},
    {kExponentTooLong, "the exponent has more than 63 digits", nullptr},
    {kUnclosedBracket, "this bracket is never closed", UnclosedDetail},
    {kWrongCloser, "this closer does not match the open bracket", WriteDetail},
    {kNestedComma, "only the last argument may hold a call with several arguments", nullptr},
    {kGroupTooLong, "this bracket group holds more than 255 characters", nullptr},
    {kTooManyBrackets, "this bracket group holds more than 31 brackets", nullptr},
    {kMissingArguments, "a function needs its arguments in brackets", BracketCallDetail},
    {kArgumentCount, "too few arguments", CallDetail},
    {kArrayFunction, "an array function cannot be called in an expression", ArrayDetail},
};

// Row i explains reason i, so a reason finds its row by index.
constexpr bool RowsInReasonOrder() {
    for (std::size_t i = 0; i < std::size(kReasonRows); ++i) {
        if (kReasonRows[i].reason != static_cast<FailureReason>(i)) return false;
    }
    return std::size(kReasonRows) == static_cast<std::size_t>(kCount);
}
static_assert(RowsInReasonOrder());

const ReasonRow* RowOf(FailureReason reason) {
    const auto index = static_cast<std::size_t>(reason);
    return index < std::size(kReasonRows) ? &kReasonRows[index] : nullptr;
}

}  // namespace

const char* ReasonText(FailureReason reason) {
    const ReasonRow* row = RowOf(reason);
    return row != nullptr ? row->text : "";
}

void ExplainFailure(const char* expression, const FailureReport& report, char* text,
                    std::size_t capacity) {
    if (capacity == 0) return;
    Sentence sentence{text, capacity, 0};
    text[0] = '\0';
    const ReasonRow* row = RowOf(report.reason);
    if (row == nullptr) {
        Append(sentence, "unknown reason %d", static_cast<int>(report.reason));
        return;
    }
    const FailureHint hint = HintFor(expression, report);
    if (row->detail != nullptr) {
        row->detail(row->text, hint, sentence);
    } else {
        Append(sentence, "%s", row->text);
    }
    if (hint.hasTab) Append(sentence, "; a tab is no space: only spaces may separate");
}
