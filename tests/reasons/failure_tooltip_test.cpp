#include "reasons/failure_tooltip.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>

#include "engine/evaluator.h"
#include "engine/name_tables.h"

namespace {

using enum FailureReason;

TEST(ChineseReasonText, EveryReasonHasItsOwnSentence) {
    std::set<std::string> seen;
    for (int code = 0; code < static_cast<int>(kCount); ++code) {
        const std::string text = ChineseReasonText(static_cast<FailureReason>(code));
        EXPECT_FALSE(text.empty()) << "reason " << code;
        EXPECT_TRUE(seen.insert(text).second) << "reason " << code << " repeats " << text;
    }
    EXPECT_STREQ(ChineseReasonText(kCount), "");
}

struct Row {
    const char* expression;
    FailureReason reason;
    int column;
    const char* function;
    const char* tooltip;
};

// Failing rows name their expression rather than their bytes.
void PrintTo(const Row& row, std::ostream* out) {
    *out << '"' << row.expression << '"';
}

class FailureTooltip : public testing::TestWithParam<Row> {};

TEST_P(FailureTooltip, GivesTheCharacterColumnAndTheReason) {
    const Row& row = GetParam();
    // The evaluation that fails on a name or call has set up the name tables on its way.
    float value = 0.0f;
    ASSERT_TRUE(EvaluateExpression("sin(PI)", value));
    const std::uint32_t index = LookupFunction(row.function != nullptr ? row.function : "");
    const SymbolDescriptor* function =
        index < g_functionRegistry.count ? &g_functionRegistry.rows[index] : nullptr;
    char text[512];
    FailureTooltipText(row.expression, {row.reason, row.column, function}, text, sizeof text);
    EXPECT_STREQ(text, row.tooltip);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FailureTooltip,
    testing::Values(
        Row{"pi+1", kUnknownName, 1, nullptr, "第 1 列：未知的名称；是否应为 PI"},
        Row{"1+中", kUnknownName, 3, nullptr, "第 3 列：未知的名称“中”"},
        Row{"x*foo", kUnknownName, 3, nullptr, "第 3 列：未知的名称“foo”"},
        Row{"1+", kOperandExpected, 3, nullptr, "第 3 列：表达式在应有操作数的地方结束了"},
        Row{"x+1e3", kScientificWithoutPoint, 3, nullptr,
            "第 3 列：科学计数法的数字需要小数点：请写 1.0e3"},
        Row{"sin(1,2)", kOperatorExpected, 6, nullptr,
            "第 6 列：此处应为运算符（+ - * / % ^）；sin 接受 1 个参数"},
        Row{"rand2(1)", kArgumentCount, 8, "rand2", "第 8 列：参数太少：rand2 接受 2 个参数"},
        Row{"array_add(1)", kArrayFunction, 1, "array_add",
            "第 1 列：array_add 是数组函数，不能在表达式中调用"},
        Row{"2*-3", kMisplacedSign, 3, nullptr,
            "第 3 列：正负号只能出现在开头；请把操作数放进括号，如 2*(-3)"},
        Row{"  ", kEmptyExpression, 0, nullptr, "表达式为空"}));

}  // namespace
