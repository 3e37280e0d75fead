// Why and where an evaluation fails: the reason and the column in the whole expression, for
// failures at the top level and deep inside groups and arguments.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/evaluator.h"
#include "engine/program.h"
#include "engine/symbol_descriptor.h"
#include "library/random_generator.h"
#include "tests/support/case_names.h"
#include "tests/support/expression_builders.h"

namespace {

// Every variable 0.
constexpr VariableBank kNoVariables{};

using R = FailureReason;

struct FailureRow {
    std::string text;
    FailureReason reason;
    std::int32_t column;
    const char* function;  // the registry row a call reason names
};

const FailureRow kFailureRows[] = {
    {"", R::kEmptyExpression, 0, nullptr},
    {"   ", R::kEmptyExpression, 0, nullptr},
    {"-", R::kOperandExpected, 2, nullptr},
    {"2*-3", R::kMisplacedSign, 3, nullptr},
    {"max(1,2*+3)", R::kMisplacedSign, 9, "max"},
    {"1 2", R::kOperatorExpected, 3, nullptr},
    {"E(1)", R::kOperatorExpected, 2, nullptr},
    {"sin(1,2)", R::kOperatorExpected, 6, "sin"},
    {"(1,2)", R::kCommaOutsideCall, 3, nullptr},
    {"1,5+x", R::kCommaOutsideCall, 2, nullptr},
    {"max([1,2],3)", R::kCommaOutsideCall, 7, "max"},
    {"max((1,2),3)", R::kCommaOutsideCall, 7, "max"},
    {"max(3,(1,2))", R::kCommaOutsideCall, 9, nullptr},
    {"((1)2)", R::kOperatorExpected, 5, nullptr},
    {"1)", R::kOperatorExpected, 2, nullptr},
    {"1+", R::kOperandExpected, 3, nullptr},
    {"1+ ", R::kOperandExpected, 4, nullptr},
    {"sqrt(1+)", R::kOperandExpected, 8, "sqrt"},
    {"()", R::kOperandExpected, 2, nullptr},
    {"( )", R::kOperandExpected, 3, nullptr},
    {"max(,2)", R::kOperandExpected, 5, "max"},
    {"abs(max(1,(2*(3+))))", R::kOperandExpected, 17, nullptr},
    {"max(1)foo)", R::kUnknownName, 7, "max"},
    {"pi+1", R::kUnknownName, 1, nullptr},
    {"SIN(1)", R::kUnknownName, 1, nullptr},
    {"x*[y+foo]", R::kUnknownName, 6, nullptr},
    {"A", R::kUnknownName, 1, nullptr},
    {"x\t+1", R::kUnknownName, 1, nullptr},
    {"x+1e3", R::kScientificWithoutPoint, 3, nullptr},
    {"2E+1", R::kScientificWithoutPoint, 1, nullptr},
    {"2E", R::kMalformedNumber, 1, nullptr},
    {"2e+x", R::kMalformedNumber, 1, nullptr},
    {".5", R::kMalformedNumber, 1, nullptr},
    {"[2*(1E-3)]", R::kScientificWithoutPoint, 5, nullptr},
    {"08", R::kOctalDigit, 1, nullptr},
    {"min(1,  019)", R::kOctalDigit, 9, "min"},
    {"abs(0x1g)", R::kMalformedNumber, 5, "abs"},
    {"1.2.3", R::kMalformedNumber, 1, nullptr},
    {"12abc", R::kMalformedNumber, 1, nullptr},
    {std::string(64, 'n'), R::kNameTooLong, 1, nullptr},
    {"x+" + std::string(64, '7'), R::kNameTooLong, 3, nullptr},
    {"(1+" + std::string(70, 'q') + ")", R::kNameTooLong, 4, nullptr},
    {"1.5e" + std::string(64, '1'), R::kExponentTooLong, 1, nullptr},
    {"2*{1.0e-" + std::string(70, '1') + "}", R::kExponentTooLong, 4, nullptr},
    {"(1", R::kUnclosedBracket, 1, nullptr},
    {"1+((2)", R::kUnclosedBracket, 3, nullptr},
    {"max(1,(2)", R::kUnclosedBracket, 4, "max"},
    {"abs([1+(2)", R::kUnclosedBracket, 5, "abs"},
    {"[1)", R::kWrongCloser, 3, nullptr},
    {"abs({1)})", R::kWrongCloser, 7, "abs"},
    {"max(min(1,2),3)", R::kNestedComma, 10, "min"},
    {"1+max3(add [1,2],3,4)", R::kNestedComma, 14, "add"},
    {"(" + FlatSum(255) + " )", R::kGroupTooLong, 1, nullptr},
    {"2*max(1," + FlatSum(255) + " )", R::kGroupTooLong, 6, "max"},
    {"2*" + Nested(33, "5"), R::kNestingTooDeep, 3, nullptr},
    {"sin 1", R::kMissingArguments, 5, "sin"},
    {"1+(cos)", R::kMissingArguments, 7, "cos"},
    {"max(1)", R::kArgumentCount, 6, "max"},
    {"lerp(1,2)", R::kArgumentCount, 9, "lerp"},
    {"x+[rand2{1}*2]", R::kArgumentCount, 11, "rand2"},
    {"array_add(1)", R::kArrayFunction, 1, "array_add"},
    {"2+abs(array_min(1))", R::kArrayFunction, 7, "array_min"},
};

// What the report names besides the column: the token at fault and the bracket the reason
// concerns (-1 at the top level), as byte offsets.
struct SpanRow {
    const char* text;
    const char* token;
    std::int32_t opener;
};

const SpanRow kSpanRows[] = {
    {"pi+1", "pi", -1},       {"x*[y+foo]", "foo", 2}, {"x+1e+3*2", "1e+3", -1},
    {"2*1.2.3", "1.2.3", -1}, {"1 2", "2", -1},        {"2(3)", "(", -1},
    {"(1)+2)", ")", -1},      {"1+", "", -1},          {"sqrt(1+)", ")", 4},
    {"1+((2)", "(", 2},       {"[(1)}", "}", 0},       {"abs({1)})", ")", 4},
    {"max((1,2),3)", ",", 4}, {"sin 1", "1", -1},      {"rand2(1)", ")", 5},
    {"1（2", "1（2", -1},
};

class FailureSpans : public testing::TestWithParam<SpanRow> {};

TEST_P(FailureSpans, NameTheTokenAndTheOpener) {
    const SpanRow& row = GetParam();
    FailureReport report{R::kCount, -1, nullptr};
    float value = 0.0f;
    ASSERT_FALSE(EvaluateExpression(row.text, value, kNoVariables, &report));
    EXPECT_EQ(report.token.begin, report.column - 1);
    const std::string text = row.text;
    EXPECT_EQ(text.substr(static_cast<std::size_t>(report.token.begin),
                          static_cast<std::size_t>(report.token.end - report.token.begin)),
              row.token);
    EXPECT_EQ(report.opener, row.opener);
}

INSTANTIATE_TEST_SUITE_P(Engine, FailureSpans, testing::ValuesIn(kSpanRows),
                         [](const auto& info) { return CaseName(info.param.text, info.index); });

void PrintTo(const FailureRow& row, std::ostream* out) {
    *out << '"' << row.text << '"';
}

class FailureReports : public testing::TestWithParam<FailureRow> {};

TEST_P(FailureReports, NameTheReasonAndColumn) {
    const FailureRow& row = GetParam();
    FailureReport report{R::kCount, -1, nullptr};
    float value = 1.0f;
    EXPECT_FALSE(EvaluateExpression(row.text.c_str(), value, kNoVariables, &report));
    EXPECT_EQ(value, 0.0f);
    EXPECT_EQ(report.reason, row.reason) << "reason " << static_cast<int>(report.reason);
    EXPECT_EQ(report.column, row.column);
    if (row.function == nullptr) {
        EXPECT_EQ(report.function, nullptr);
    } else {
        ASSERT_NE(report.function, nullptr);
        EXPECT_STREQ(report.function->name, row.function);
    }
}

INSTANTIATE_TEST_SUITE_P(Engine, FailureReports, testing::ValuesIn(kFailureRows),
                         [](const auto& info) { return CaseName(info.param.text, info.index); });

// Every reason evaluation gives has a row; the request and quorvel-eval give two others, and
// preparing a program the last.
TEST(FailureReports, CoverEveryReasonOfTheEngine) {
    std::set<FailureReason> covered;
    for (const FailureRow& row : kFailureRows)
        covered.insert(row.reason);
    for (int code = 1; code < static_cast<int>(R::kCount); ++code) {
        const auto reason = static_cast<FailureReason>(code);
        if (reason == R::kExpressionTooLong || reason == R::kNulByte || reason == R::kOutOfMemory)
            continue;
        EXPECT_EQ(covered.count(reason), 1u) << "no row for reason " << code;
    }
}

TEST(FailureReports, SuccessClearsTheReport) {
    FailureReport report{R::kWrongCloser, 7, nullptr};
    float value = 0.0f;
    EXPECT_TRUE(EvaluateExpression("max(1,2)+[3]", value, kNoVariables, &report));
    EXPECT_EQ(value, 5.0f);
    EXPECT_EQ(report.reason, R::kNone);
    EXPECT_EQ(report.column, 0);
    EXPECT_EQ(report.function, nullptr);
}

TEST(FailureReports, CallerVariablesReplaceTheProcessBank) {
    VariableBank variables{};
    variables['x' - 'a'] = 2.5f;
    float value = 0.0f;
    EXPECT_TRUE(EvaluateExpression("x*2", value, variables, nullptr));
    EXPECT_EQ(value, 5.0f);
}

// Evaluation fails where it finds the fault, after what it evaluated before it: a draw made on
// the way stays made. Preparing the same text computes nothing, so it draws nothing.
TEST(FailureReports, ComeAfterTheDrawsBeforeThemAndPreparingDrawsNothing) {
    struct DrawCase {
        const char* text;
        int draws;
    };
    constexpr DrawCase kCases[] = {
        {"rand(1)+(1]", 1}, {"rand(1)*rand2(0,1)+sin 1", 2}, {"(1]+rand(1)", 0}};
    for (const DrawCase& row : kCases) {
        constexpr std::uint32_t kSeed = 777;
        std::uint32_t model = kSeed;
        for (int i = 0; i < row.draws; ++i)
            DrawRandom15From(model);
        SetRandomState(kSeed);
        float value = 1.0f;
        EXPECT_FALSE(EvaluateExpression(row.text, value, kNoVariables, nullptr)) << row.text;
        EXPECT_EQ(RandomState(), model) << row.text;
        SetRandomState(kSeed);
        EXPECT_EQ(PrepareProgram(row.text, nullptr), nullptr) << row.text;
        EXPECT_EQ(RandomState(), kSeed) << row.text;
    }
}

}  // namespace
