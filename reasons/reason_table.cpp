#include "reasons/reason_table.h"

#include <quorvel/quorvel.h>

#include <cstddef>
#include <iterator>

namespace {

// One row per reason, in the engine's order, with the number the C interface publishes for it.
struct ReasonRow {
    FailureReason reason;
    int code;
    const char* text[static_cast<int>(Language::kCount)];
};

using enum FailureReason;

constexpr ReasonRow kReasons[] = {
    {kNone, QUORVEL_REASON_NONE, {"no failure", "没有错误"}},
    {kEmptyExpression, QUORVEL_REASON_EMPTY, {"the expression is empty", "表达式为空"}},
    {kExpressionTooLong,
     QUORVEL_REASON_TOO_LONG,
     {"the expression is longer than 1023 bytes", "表达式超过 1023 字节"}},
    {kNulByte, QUORVEL_REASON_NUL_BYTE, {"the line holds a NUL byte", "表达式含有 NUL 字节"}},
    {kMisplacedSign,
     QUORVEL_REASON_MISPLACED_SIGN,
     {"a sign is allowed only at the start; put the operand in brackets, as 2*(-3)",
      "正负号只能出现在开头；请把操作数放进括号，如 2*(-3)"}},
    {kOperatorExpected,
     QUORVEL_REASON_OPERATOR_EXPECTED,
     {"an operator (+ - * / % ^) belongs here", "此处应为运算符（+ - * / % ^）"}},
    {kOperandExpected,
     QUORVEL_REASON_OPERAND_EXPECTED,
     {"an operand (a number, name or bracket) belongs here", "此处应为操作数（数字、名称或括号）"}},
    {kUnknownName, QUORVEL_REASON_UNKNOWN_NAME, {"unknown name", "未知的名称"}},
    {kScientificWithoutPoint,
     QUORVEL_REASON_SCIENTIFIC_WITHOUT_POINT,
     {"a scientific number needs a point", "科学计数法的数字需要小数点"}},
    {kOctalDigit,
     QUORVEL_REASON_OCTAL_DIGIT,
     {"a number that starts with 0 is octal and takes only the digits 0 to 7",
      "以 0 开头的数字是八进制，只能含数字 0 到 7"}},
    {kMalformedNumber, QUORVEL_REASON_MALFORMED_NUMBER, {"malformed number", "数字格式错误"}},
    {kNameTooLong,
     QUORVEL_REASON_NAME_TOO_LONG,
     {"a name or number is longer than 63 characters", "名称或数字超过 63 个字符"}},
    {kExponentTooLong,
     QUORVEL_REASON_EXPONENT_TOO_LONG,
     {"the exponent has more than 63 digits", "指数超过 63 位"}},
    {kUnclosedBracket,
     QUORVEL_REASON_UNCLOSED_BRACKET,
     {"this bracket is never closed", "这个括号没有闭合"}},
    {kWrongCloser,
     QUORVEL_REASON_WRONG_CLOSER,
     {"this closer does not match the open bracket", "右括号与左括号不配对"}},
    {kNestedComma,
     QUORVEL_REASON_NESTED_COMMA,
     {"only the last argument may hold a call with several arguments",
      "只有最后一个参数可以包含多参数的函数调用"}},
    {kGroupTooLong,
     QUORVEL_REASON_GROUP_TOO_LONG,
     {"this bracket group holds more than 255 characters", "括号内的内容超过 255 个字符"}},
    {kNestingTooDeep,
     QUORVEL_REASON_TOO_MANY_BRACKETS,
     {"brackets nest more than 32 deep here", "括号嵌套超过 32 层"}},
    {kMissingArguments,
     QUORVEL_REASON_MISSING_ARGUMENTS,
     {"a function needs its arguments in brackets", "函数的参数必须放在括号里"}},
    {kArgumentCount, QUORVEL_REASON_ARGUMENT_COUNT, {"too few arguments", "参数太少"}},
    {kArrayFunction,
     QUORVEL_REASON_ARRAY_FUNCTION,
     {"an array function cannot be called in an expression", "数组函数不能在表达式中调用"}},
    {kOutOfMemory,
     QUORVEL_REASON_OUT_OF_MEMORY,
     {"not enough memory to prepare the expression", "内存不足，无法准备表达式"}},
    {kCommaOutsideCall,
     QUORVEL_REASON_COMMA_OUTSIDE_CALL,
     {"this comma separates nothing: a comma stands only between a function's arguments",
      "这个逗号不分隔任何东西：逗号只用于分隔函数的参数"}},
};

struct NoteRow {
    Note note;
    const char* text[static_cast<int>(Language::kCount)];
};

constexpr NoteRow kNotes[] = {
    {Note::kToken, {" '{1}'", "“{1}”"}},
    {Note::kEndsEarly,
     {"the expression ends where an operand belongs", "表达式在应有操作数的地方结束了"}},
    {Note::kNameInCase, {"; did you mean {1}", "；是否应为 {1}"}},
    {Note::kWrite, {": write {1}", "：请写 {1}"}},
    {Note::kOctal, {"; write {1} for the decimal number", "；十进制数请写 {1}"}},
    {Note::kCloseWith, {"; close it with {1}", "；请用 {1} 闭合"}},
    {Note::kProduct,
     {"; there is no implied multiplication: write {1}", "；没有隐含的乘法：请写 {1}"}},
    {Note::kLeadingDigit,
     {"; a number starts with a digit: write {1}", "；数字必须以数字开头：请写 {1}"}},
    {Note::kTakes, {"; {1} takes {2} argument{3}", "；{1} 接受 {2} 个参数"}},
    {Note::kTakesAfterColon, {": {1} takes {2} argument{3}", "：{1} 接受 {2} 个参数"}},
    {Note::kTakesAs,
     {": {1} takes {2} argument{3}, as {1}(...)", "：{1} 接受 {2} 个参数，如 {1}(...)"}},
    {Note::kNamed, {": {1}", "：{1}"}},
    {Note::kUnopenedCloser,
     {"; this closer has no opening bracket", "；这个右括号没有对应的左括号"}},
    {Note::kDecimalComma,
     {"; the decimal separator is a point: write {1}", "；小数点是英文句点：请写 {1}"}},
    {Note::kFullWidth,
     {"; '{1}' at column {2} is a full-width character: type '{3}'",
      "；第 {2} 列的“{1}”是全角字符：请输入“{3}”"}},
    {Note::kLikelyMeant,
     {"; '{1}' at column {2}: did you mean '{3}'", "；第 {2} 列的“{1}”：是否应为“{3}”"}},
    {Note::kTab,
     {"; a tab is no space: only spaces may separate", "；制表符不是空格：只能用空格分隔"}},
};

// Every brace in a sentence opens a piece {1}, {2} or {3}, so no sentence asks for a piece that
// is not given.
constexpr bool PiecesAreWellFormed(const char* text) {
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '}') return false;
        if (*c != '{') continue;
        if (c[1] < '1' || c[1] > '3' || c[2] != '}') return false;
        c += 2;
    }
    return true;
}

template <typename Row>
constexpr bool EveryLanguageWritten(const Row& row) {
    for (const char* text : row.text) {
        if (text == nullptr || *text == '\0' || !PiecesAreWellFormed(text)) return false;
    }
    return true;
}

// Row i is reason i, with the C number the header gives it, and every reason has a row.
constexpr bool ReasonTableHolds() {
    for (std::size_t i = 0; i < std::size(kReasons); ++i) {
        const ReasonRow& row = kReasons[i];
        if (static_cast<std::size_t>(row.reason) != i || row.code != static_cast<int>(row.reason) ||
            !EveryLanguageWritten(row)) {
            return false;
        }
    }
    return std::size(kReasons) == static_cast<std::size_t>(kCount);
}
static_assert(ReasonTableHolds());

constexpr bool NoteTableHolds() {
    for (std::size_t i = 0; i < std::size(kNotes); ++i) {
        if (static_cast<std::size_t>(kNotes[i].note) != i || !EveryLanguageWritten(kNotes[i])) {
            return false;
        }
    }
    return std::size(kNotes) == static_cast<std::size_t>(Note::kCount);
}
static_assert(NoteTableHolds());

bool Known(Language language) {
    return static_cast<int>(language) < static_cast<int>(Language::kCount);
}

}  // namespace

const char* ReasonSentence(Language language, FailureReason reason) {
    const auto index = static_cast<std::size_t>(reason);
    return index < std::size(kReasons) && Known(language)
               ? kReasons[index].text[static_cast<int>(language)]
               : "";
}

const char* NoteSentence(Language language, Note note) {
    const auto index = static_cast<std::size_t>(note);
    return index < std::size(kNotes) && Known(language)
               ? kNotes[index].text[static_cast<int>(language)]
               : "";
}
