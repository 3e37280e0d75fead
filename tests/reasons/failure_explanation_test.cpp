#include "reasons/failure_explanation.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>

#include "engine/evaluator.h"
#include "engine/name_tables.h"

namespace {

using enum FailureReason;

// The evaluation that fails on a name has set up the name tables on its way.
const SymbolDescriptor* Function(const char* name) {
    float value = 0.0f;
    EXPECT_TRUE(EvaluateExpression("sin(PI)", value));
    const std::uint32_t row = LookupFunction(name);
    return row < g_functionRegistry.count ? &g_functionRegistry.rows[row] : nullptr;
}

std::string Explained(const char* expression, FailureReport report) {
    char text[512];
    ExplainFailure(expression, report, text, sizeof text);
    return text;
}

TEST(ReasonText, EveryReasonHasItsOwnSentence) {
    std::set<std::string> seen;
    for (int code = 0; code < static_cast<int>(kCount); ++code) {
        const std::string text = ReasonText(static_cast<FailureReason>(code));
        EXPECT_FALSE(text.empty()) << "reason " << code;
        EXPECT_TRUE(seen.insert(text).second) << "reason " << code << " repeats " << text;
    }
    EXPECT_STREQ(ReasonText(kCount), "");
}

struct Row {
    const char* expression;
    FailureReason reason;
    int column;
    const char* function;  // the registry row the report names, or null
    const char* text;
};

// Failing rows name their expression rather than their bytes.
void PrintTo(const Row& row, std::ostream* out) {
    *out << '"' << row.expression << '"';
}

class Explanation : public testing::TestWithParam<Row> {};

TEST_P(Explanation, NamesTheFixTheExpressionShows) {
    const Row& row = GetParam();
    const SymbolDescriptor* function = Function(row.function != nullptr ? row.function : "");
    const FailureReport report{row.reason, row.column, function};
    EXPECT_EQ(Explained(row.expression, report), row.text) << row.expression;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Explanation,
    testing::Values(
        Row{"1e3", kScientificWithoutPoint, 1, nullptr,
            "a scientific number needs a point: write 1.0e3"},
        Row{"x+12E-45*2", kScientificWithoutPoint, 3, nullptr,
            "a scientific number needs a point: write 12.0E-45"},
        Row{"1e3x", kScientificWithoutPoint, 1, nullptr, "a scientific number needs a point"},
        Row{"pi+1", kUnknownName, 1, nullptr, "unknown name; did you mean PI"},
        Row{"2*Pi", kUnknownName, 3, nullptr, "unknown name; did you mean PI"},
        Row{"SIN(1)", kUnknownName, 1, nullptr, "unknown name; did you mean sin"},
        Row{"1+Log10(2)", kUnknownName, 3, nullptr, "unknown name; did you mean log10"},
        Row{"X*2", kUnknownName, 1, nullptr, "unknown name; did you mean x"},
        Row{"x*foo", kUnknownName, 3, nullptr, "unknown name 'foo'"},
        Row{"x\t+1", kUnknownName, 1, nullptr,
            "unknown name 'x\\t'; a tab is no space: only spaces may separate"},
        Row{"2*-3", kMisplacedSign, 3, nullptr,
            "a sign is allowed only at the start; put the operand in brackets, as 2*(-3)"},
        Row{"1 2", kOperatorExpected, 3, nullptr, "an operator (+ - * / % ^) belongs here"},
        Row{"sin(1,2)", kOperatorExpected, 6, nullptr,
            "an operator (+ - * / % ^) belongs here; sin takes 1 argument"},
        Row{"max (1, min[2,3,4])", kOperatorExpected, 16, nullptr,
            "an operator (+ - * / % ^) belongs here; min takes 2 arguments"},
        Row{"(1,2)", kOperatorExpected, 3, nullptr, "an operator (+ - * / % ^) belongs here"},
        Row{"2(3)", kOperatorExpected, 2, nullptr,
            "an operator (+ - * / % ^) belongs here; there is no implied multiplication: "
            "write *"},
        Row{"(1)+2)", kOperatorExpected, 6, nullptr,
            "an operator (+ - * / % ^) belongs here; this closer has no opening bracket"},
        Row{"1+", kOperandExpected, 3, nullptr, "the expression ends where an operand belongs"},
        Row{"sqrt(1+)", kOperandExpected, 8, nullptr,
            "an operand (a number, name or bracket) belongs here"},
        Row{"1+09", kOctalDigit, 3, nullptr,
            "a number that starts with 0 is octal and takes only the digits 0 to 7; write 9 for "
            "the decimal number"},
        Row{"0x1g", kMalformedNumber, 1, nullptr, "malformed number '0x1g'"},
        Row{"(1", kUnclosedBracket, 1, nullptr, "this bracket is never closed; close it with )"},
        Row{"2*{(1)", kUnclosedBracket, 3, nullptr,
            "this bracket is never closed; close it with }"},
        Row{"[1)", kWrongCloser, 3, nullptr,
            "this closer does not match the open bracket: write ]"},
        Row{"max(min(1,2),3)", kNestedComma, 10, nullptr,
            "only the last argument may hold a call with several arguments"},
        Row{"sin 1", kMissingArguments, 5, "sin",
            "a function needs its arguments in brackets: sin takes 1 argument, as sin(...)"},
        Row{"rand2(1)", kArgumentCount, 8, "rand2", "too few arguments: rand2 takes 2 arguments"},
        Row{"array_add(1)", kArrayFunction, 1, "array_add",
            "array_add is an array function and cannot be called in an expression"},
        Row{"", kEmptyExpression, 0, nullptr, "the expression is empty"},
        Row{"1", kNulByte, 0, nullptr, "the line holds a NUL byte"}));

TEST(Explanation, StaysInsideItsBuffer) {
    char text[12];
    ExplainFailure("pi", {kUnknownName, 1, nullptr}, text, sizeof text);
    EXPECT_STREQ(text, "unknown nam");
}

}  // namespace
