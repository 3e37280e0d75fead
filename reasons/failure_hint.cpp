#include "reasons/failure_hint.h"

#include <cstdio>
#include <cstring>

#include "engine/evaluator.h"
#include "engine/groups_and_calls.h"
#include "engine/name_tables.h"

namespace {

constexpr int kOpenerRows = 3;  // the bracket table's first half opens, its second half closes

// The bracket row index (0-2) whose first half holds c, or -1.
int BracketIndex(char c, int firstRow) {
    for (int index = 0; index < kOpenerRows; ++index) {
        if (kBracketTable[firstRow + index].name[0] == c) return index;
    }
    return -1;
}
int OpenerIndex(char c) {
    return c == '\0' ? -1 : BracketIndex(c, 0);
}
int CloserIndex(char c) {
    return c == '\0' ? -1 : BracketIndex(c, kOpenerRows);
}

// The position of the innermost opening bracket still open before end, or -1. Brackets nest
// in the text as the group reader nests them, so counting back from end finds it.
int InnermostOpenBracket(const char* text, int end) {
    int closed = 0;
    for (int at = end - 1; at >= 0; --at) {
        if (CloserIndex(text[at]) >= 0) {
            ++closed;
        } else if (OpenerIndex(text[at]) >= 0) {
            if (closed == 0) return at;
            --closed;
        }
    }
    return -1;
}

// The registry row of the function named right before the bracket at opener, or null.
const SymbolDescriptor* FunctionBefore(const char* text, int opener) {
    int end = opener;
    while (end > 0 && text[end - 1] == ' ')
        --end;
    int start = end;
    while (start > 0 && !IsDelimiter(text[start - 1]) && end - start < kTokenCapacity - 1)
        --start;
    char name[kTokenCapacity] = {};
    std::memcpy(name, text + start, static_cast<std::size_t>(end - start));
    const std::uint32_t row = LookupFunction(name);
    return row < g_functionRegistry.count ? &g_functionRegistry.rows[row] : nullptr;
}

int ArgumentsOf(const SymbolDescriptor& row) {
    return row.kind >= kFunction1 && row.kind <= kFunction4 ? row.kind - kFunction1 + 1 : 0;
}

char FoldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// ASCII letters only, so no locale can make two names alike.
bool EqualIgnoringCase(const char* a, const char* b) {
    for (; *a != '\0' || *b != '\0'; ++a, ++b) {
        if (FoldCase(*a) != FoldCase(*b)) return false;
    }
    return true;
}

// A constant, function or variable whose name differs from token only by case, into fix. The
// evaluation that failed on the name has set up both tables on its way through the lookups.
void NameDifferingInCase(const char* token, char (&fix)[2 * kTokenCapacity]) {
    for (std::uint32_t i = 0; i < g_constantTable.count; ++i) {
        const char* name = g_constantTable.entries[i].name;
        if (EqualIgnoringCase(token, name)) {
            std::strcpy(fix, name);
            return;
        }
    }
    for (std::uint32_t i = 0; i < g_functionRegistry.count; ++i) {
        const char* name = g_functionRegistry.rows[i].name;
        if (EqualIgnoringCase(token, name)) {
            std::strcpy(fix, name);
            return;
        }
    }
    // The variables are the bank's slots, one lowercase letter each from a.
    static_assert(sizeof g_variableBank / sizeof g_variableBank[0] == 'z' - 'a' + 1);
    const char letter = FoldCase(token[0]);
    if (token[1] == '\0' && letter >= 'a' && letter <= 'z') {
        fix[0] = letter;
        fix[1] = '\0';
    }
}

std::int32_t RunOfDigits(const char* text, std::int32_t at) {
    std::int32_t end = at;
    while (IsDigit(text[end]))
        ++end;
    return end - at;
}

// "1e3" written with a point, "1.0e3": the user's digits, marker, sign and exponent.
void ScientificWithPoint(const char* text, std::int32_t at, FailureHint& hint) {
    const std::int32_t mantissa = RunOfDigits(text, at);
    std::int32_t marker = at + mantissa;
    if (mantissa == 0 || (text[marker] != 'e' && text[marker] != 'E')) return;
    std::int32_t exponent = marker + 1;
    if (text[exponent] == '+' || text[exponent] == '-') ++exponent;
    const std::int32_t end = exponent + RunOfDigits(text, exponent);
    if (!IsDelimiter(text[end])) return;
    const int written = std::snprintf(hint.fix, sizeof hint.fix, "%.*s.0%.*s", mantissa, text + at,
                                      end - marker, text + marker);
    if (written < 0 || written >= static_cast<int>(sizeof hint.fix)) hint.fix[0] = '\0';
}

// "09" as the decimal number it was meant to be: "9".
void OctalAsDecimal(FailureHint& hint) {
    const char* digits = hint.token;
    if (RunOfDigits(digits, 0) != static_cast<std::int32_t>(std::strlen(digits))) return;
    while (digits[0] == '0' && digits[1] != '\0')
        ++digits;
    std::strcpy(hint.fix, digits);
}

void CloserOf(int opener, FailureHint& hint) {
    if (opener < 0) return;
    hint.fix[0] = kBracketTable[kOpenerRows + opener].name[0];
    hint.fix[1] = '\0';
}

void SetFunction(const SymbolDescriptor* row, FailureHint& hint) {
    hint.function = row;
    hint.arguments = row != nullptr ? ArgumentsOf(*row) : 0;
}

void AddFix(const char* text, std::int32_t at, const FailureReport& report, FailureHint& hint) {
    switch (report.reason) {
        case FailureReason::kUnknownName:
            NameDifferingInCase(hint.token, hint.fix);
            break;
        case FailureReason::kScientificWithoutPoint:
            ScientificWithPoint(text, at, hint);
            break;
        case FailureReason::kOctalDigit:
            OctalAsDecimal(hint);
            break;
        case FailureReason::kUnclosedBracket:
            CloserOf(OpenerIndex(text[at]), hint);
            break;
        case FailureReason::kWrongCloser: {
            const int opener = InnermostOpenBracket(text, at);
            if (opener >= 0) CloserOf(OpenerIndex(text[opener]), hint);
            break;
        }
        default:
            break;
    }
}

}  // namespace

FailureHint HintFor(const char* expression, const FailureReport& report) {
    FailureHint hint{};
    SetFunction(report.function, hint);
    const auto length = static_cast<std::int32_t>(strnlen(expression, 1u << 20));
    if (report.column < 1 || report.column > length + 1) return hint;
    std::int32_t at = report.column - 1;
    hint.atEnd = report.reason == FailureReason::kOperandExpected && at == length;
    if (report.reason == FailureReason::kOperatorExpected) {
        hint.openerAhead = OpenerIndex(expression[at]) >= 0;
        hint.closesNothing =
            CloserIndex(expression[at]) >= 0 && InnermostOpenBracket(expression, at) < 0;
    }
    std::int32_t cursor = at;
    ReadToken(expression, cursor, hint.token);
    hint.hasTab = std::strchr(hint.token, '\t') != nullptr;
    AddFix(expression, at, report, hint);
    if (hint.function == nullptr && report.reason == FailureReason::kOperatorExpected &&
        expression[at] == ',') {
        const int opener = InnermostOpenBracket(expression, at);
        if (opener >= 0) SetFunction(FunctionBefore(expression, opener), hint);
    }
    return hint;
}
