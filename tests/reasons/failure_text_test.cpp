// The failure texts of real evaluations: the column in characters, the English text of
// ExplainFailure and the Chinese tooltip, each from the engine's own report.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/evaluator.h"
#include "reasons/failure_explanation.h"
#include "reasons/failure_tooltip.h"
#include "tests/support/case_names.h"

namespace {

// Every variable 0.
constexpr VariableBank kNoVariables{};

struct TextRow {
    const char* expression;
    int column;  // in characters
    const char* english;
    const char* chinese;  // after "第 N 列："
};

const TextRow kTextRows[] = {
    {"pi+1", 1, "unknown name; did you mean PI", "未知的名称；是否应为 PI"},
    {"SIN(1)", 1, "unknown name; did you mean sin", "未知的名称；是否应为 sin"},
    {"X*2", 1, "unknown name; did you mean x", "未知的名称；是否应为 x"},
    {"x*foo", 3, "unknown name 'foo'", "未知的名称“foo”"},
    {"1+中", 3, "unknown name '中'", "未知的名称“中”"},
    {"\xB0+1", 1, "unknown name '\\xB0'", "未知的名称“\\xB0”"},
    {"x\t+1", 1, "unknown name 'x\\t'; a tab is no space: only spaces may separate",
     "未知的名称“x\\t”；制表符不是空格：只能用空格分隔"},
    {"(中]", 3, "this closer does not match the open bracket: write )",
     "右括号与左括号不配对：请写 )"},
    {"x+12E-45*2", 3, "a scientific number needs a point: write 12.0E-45",
     "科学计数法的数字需要小数点：请写 12.0E-45"},
    {"2e3", 1, "a scientific number needs a point: write 2.0e3",
     "科学计数法的数字需要小数点：请写 2.0e3"},
    {"2E", 1, "malformed number '2E'; there is no implied multiplication: write 2*E",
     "数字格式错误“2E”；没有隐含的乘法：请写 2*E"},
    {"2e", 1, "malformed number '2e'; there is no implied multiplication: write 2*e",
     "数字格式错误“2e”；没有隐含的乘法：请写 2*e"},
    {"1e3x", 1, "malformed number '1e3x'", "数字格式错误“1e3x”"},
    {".5", 1, "malformed number '.5'; a number starts with a digit: write 0.5",
     "数字格式错误“.5”；数字必须以数字开头：请写 0.5"},
    {"1+09", 3,
     "a number that starts with 0 is octal and takes only the digits 0 to 7; write 9 "
     "for the decimal number",
     "以 0 开头的数字是八进制，只能含数字 0 到 7；十进制数请写 9"},
    {"2*-3", 3, "a sign is allowed only at the start; put the operand in brackets, as 2*(-3)",
     "正负号只能出现在开头；请把操作数放进括号，如 2*(-3)"},
    {"sin(1,2)", 6, "an operator (+ - * / % ^) belongs here; sin takes 1 argument",
     "此处应为运算符（+ - * / % ^）；sin 接受 1 个参数"},
    {"max (1, min[2,3,4])", 16, "an operator (+ - * / % ^) belongs here; min takes 2 arguments",
     "此处应为运算符（+ - * / % ^）；min 接受 2 个参数"},
    {"2(3)", 2,
     "an operator (+ - * / % ^) belongs here; there is no implied multiplication: "
     "write *",
     "此处应为运算符（+ - * / % ^）；没有隐含的乘法：请写 *"},
    {"(1)+2)", 6, "an operator (+ - * / % ^) belongs here; this closer has no opening bracket",
     "此处应为运算符（+ - * / % ^）；这个右括号没有对应的左括号"},
    {"1+", 3, "the expression ends where an operand belongs", "表达式在应有操作数的地方结束了"},
    {"sqrt(1+)", 8, "an operand (a number, name or bracket) belongs here",
     "此处应为操作数（数字、名称或括号）"},
    {"(1", 1, "this bracket is never closed; close it with )", "这个括号没有闭合；请用 ) 闭合"},
    {"2*{(1)", 3, "this bracket is never closed; close it with }", "这个括号没有闭合；请用 } 闭合"},
    {"[1)", 3, "this closer does not match the open bracket: write ]",
     "右括号与左括号不配对：请写 ]"},
    {"max(min(1,2),3)", 10, "only the last argument may hold a call with several arguments",
     "只有最后一个参数可以包含多参数的函数调用"},
    {"max([1,2],3)", 7,
     "this comma separates nothing: a comma stands only between a function's arguments",
     "这个逗号不分隔任何东西：逗号只用于分隔函数的参数"},
    {"1,5+x", 2,
     "this comma separates nothing: a comma stands only between a function's arguments; the "
     "decimal separator is a point: write 1.5",
     "这个逗号不分隔任何东西：逗号只用于分隔函数的参数；小数点是英文句点：请写 1.5"},
    {"((((((((((((((((((((((((((((((((((1))))))))))))))))))))))))))))))))", 1,
     "brackets nest more than 32 deep here", "括号嵌套超过 32 层"},
    {"sin 1", 5, "a function needs its arguments in brackets: sin takes 1 argument, as sin(...)",
     "函数的参数必须放在括号里：sin 接受 1 个参数，如 sin(...)"},
    {"rand2(1)", 8, "too few arguments: rand2 takes 2 arguments", "参数太少：rand2 接受 2 个参数"},
    {"max(1)foo)", 7, "unknown name 'foo'", "未知的名称“foo”"},
    {"array_add(1)", 1, "an array function cannot be called in an expression: array_add",
     "数组函数不能在表达式中调用：array_add"},
    // What input methods type in place of ASCII characters.
    {"（1+2）", 1, "unknown name '（1'; '（' at column 1 is a full-width character: type '('",
     "未知的名称“（1”；第 1 列的“（”是全角字符：请输入“(”"},
    {"(1，2)", 2, "malformed number '1，2'; '，' at column 3 is a full-width character: type ','",
     "数字格式错误“1，2”；第 3 列的“，”是全角字符：请输入“,”"},
    {"中+１", 1, "unknown name '中'", "未知的名称“中”"},
    {"x+１", 3, "unknown name '１'; '１' at column 3 is a full-width character: type '1'",
     "未知的名称“１”；第 3 列的“１”是全角字符：请输入“1”"},
    {"1　+2", 1, "malformed number '1　'; '　' at column 2 is a full-width character: type ' '",
     "数字格式错误“1　”；第 2 列的“　”是全角字符：请输入“ ”"},
    {"x【1】", 1, "unknown name 'x【1】'; '【' at column 2: did you mean '['",
     "未知的名称“x【1】”；第 2 列的“【”：是否应为“[”"},
    {"3×4", 1, "malformed number '3×4'; '×' at column 2: did you mean '*'",
     "数字格式错误“3×4”；第 2 列的“×”：是否应为“*”"},
    {"1。5", 1, "malformed number '1。5'; '。' at column 2: did you mean '.'",
     "数字格式错误“1。5”；第 2 列的“。”：是否应为“.”"},
    {"  ", 0, "the expression is empty", "表达式为空"},
};

class FailureTexts : public testing::TestWithParam<TextRow> {};

TEST_P(FailureTexts, SayWhatTheEngineSaw) {
    const TextRow& row = GetParam();
    FailureReport report{};
    float value = 0.0f;
    ASSERT_FALSE(EvaluateExpression(row.expression, value, kNoVariables, &report));
    EXPECT_EQ(FailureColumn(row.expression, report), row.column);
    char text[kFailureTooltipCapacity];
    ExplainFailure(row.expression, report, text, sizeof text);
    EXPECT_STREQ(text, row.english);
    FailureTooltipText(row.expression, report, text, sizeof text);
    const std::string prefix =
        row.column > 0 ? "第 " + std::to_string(row.column) + " 列：" : std::string();
    EXPECT_EQ(text, prefix + row.chinese);
}

INSTANTIATE_TEST_SUITE_P(Reasons, FailureTexts, testing::ValuesIn(kTextRows), [](const auto& info) {
    return CaseName(info.param.expression, info.index);
});

TEST(ReasonSentences, EveryReasonHasItsOwnInEachLanguage) {
    std::set<std::string> seen;
    for (int code = 0; code < static_cast<int>(FailureReason::kCount); ++code) {
        const auto reason = static_cast<FailureReason>(code);
        EXPECT_TRUE(seen.insert(ReasonText(reason)).second) << "reason " << code;
        EXPECT_TRUE(seen.insert(ChineseReasonText(reason)).second) << "reason " << code;
    }
    EXPECT_STREQ(ReasonText(FailureReason::kCount), "");
}

}  // namespace
