#include "reasons/help_tables.h"

#include <cstring>
#include <iterator>

#include "engine/name_tables.h"

namespace {

constexpr HelpRow kSyntaxRows[] = {
    {"42  2.5  1.  1.5e3  0x1F  0y101  017",
     {"数：整数、小数、科学记数、十六进制 0x、二进制 0y、八进制 0",
      "numbers: whole, decimal, scientific, hex 0x, binary 0y, octal 0"}},
    {"* / % ^", {"先算，同级从左到右", "bind tighter than + -, each level left to right"}},
    {"+ -", {"后算，同级从左到右", "bind last, left to right"}},
    {"-2^2",
     {"符号只能在最前面，作用于第一个数：-2^2 是 4",
      "one sign at the very start, on the first operand: -2^2 is 4"}},
    {"( ) [ ] { }", {"括号，各用自己的一种闭合", "brackets, each closed by its own kind"}},
    {"PI  E", {"常数 π 与 e", "the constants pi and e"}},
    {"x  y  z", {"X、Y、Z 框中的值", "the values of x, y and z"}},
    {"a ... w", {"其余小写字母，值总是 0", "the other lowercase letters, always 0"}},
};

constexpr HelpRow kSurpriseRows[] = {
    {"1.0e3", {"1e3 是错误：e 前要有小数点", "1e3 is an error: e needs a point before it"}},
    {"2*(-3)", {"2*-3 是错误：符号只能在最前面", "2*-3 is an error: a sign only at the start"}},
    {"PI", {"名称区分大小写：pi 是未知名称", "names are case-sensitive: pi is unknown"}},
    {"2*x", {"没有隐含乘法：2x 是错误", "no implied multiplication: 2x is an error"}},
    {"8", {"08 是错误：以 0 开头的数是八进制", "08 is an error: a leading 0 means octal"}},
    {"1.5",
     {"值框里 1,5 读作 1：只读开头的数", "-x 1,5 sets x to 1: a value reads its leading number"}},
    {"2*(3^2)", {"^ 与 * 同级：2*3^2 是 36", "^ shares the level of *: 2*3^2 is 36"}},
};

// Where the order of the arguments matters, their names; every other function takes x, or a, b
// and on.
struct ArgumentNames {
    const char* function;
    const char* names;
};

constexpr ArgumentNames kNamedArguments[] = {
    {"atan2", "y, x"},
    {"lerp", "a, b, t"},
    {"gray", "r, g, b"},
    {"clamp", "value, upper, lower"},
};

constexpr const char* kPlainArguments[] = {"x", "a, b", "a, b, c", "a, b, c, d"};

int ArgumentCount(const SymbolDescriptor& row) {
    return row.kind >= kFunction1 && row.kind <= kFunction4 ? row.kind - kFunction1 + 1 : 0;
}

// The index-th built-in function that takes single values, in registration order.
const SymbolDescriptor* CallableRow(std::size_t index) {
    for (const SymbolDescriptor& row : BuiltinFunctions()) {
        if (ArgumentCount(row) == 0) continue;
        if (index-- == 0) return &row;
    }
    return nullptr;
}

const char* ArgumentNamesOf(const SymbolDescriptor& row) {
    for (const ArgumentNames& named : kNamedArguments) {
        if (std::strcmp(named.function, row.name) == 0) return named.names;
    }
    return kPlainArguments[ArgumentCount(row) - 1];
}

}  // namespace

const HelpTable kSyntaxHelp = {
    {"写法与优先级", "The language"}, kSyntaxRows, std::size(kSyntaxRows)};
const HelpTable kSurpriseHelp = {
    {"容易出错的地方", "Surprises"}, kSurpriseRows, std::size(kSurpriseRows)};
const char* const kFunctionsTitle[2] = {"函数（参数按顺序）", "Functions (arguments in order)"};

std::size_t HelpFunctionCount() {
    std::size_t count = 0;
    while (CallableRow(count) != nullptr)
        ++count;
    return count;
}

int HelpFunctionSignature(std::size_t index, char (&signature)[kSignatureCapacity]) {
    signature[0] = '\0';
    const SymbolDescriptor* row = CallableRow(index);
    if (row == nullptr) return 0;
    std::strcpy(signature, row->name);
    std::strcat(signature, "(");
    std::strcat(signature, ArgumentNamesOf(*row));
    std::strcat(signature, ")");
    return ArgumentCount(*row);
}
