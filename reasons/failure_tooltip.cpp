#include "reasons/failure_tooltip.h"

#include <cstdio>

#include "reasons/failure_text.h"

namespace {

// In the order of FailureReason.
constexpr FailureLanguage kChinese = {
    {
        {"没有错误", nullptr, nullptr, nullptr},
        {"表达式为空", nullptr, nullptr, nullptr},
        {"表达式超过 1023 字节", nullptr, nullptr, nullptr},
        {"表达式含有 NUL 字节", nullptr, nullptr, nullptr},
        {"正负号只能出现在开头；请把操作数放进括号，如 2*(-3)", nullptr, nullptr, nullptr},
        {"此处应为运算符（+ - * / % ^）", nullptr, nullptr,
         "此处应为运算符（+ - * / %% ^）；%1$s 接受 %2$d 个参数"},
        {"此处应为操作数（数字、名称或括号）", nullptr, nullptr, nullptr},
        {"未知的名称", "；是否应为 %1$s", "“%1$s”", nullptr},
        {"科学计数法的数字需要小数点", "：请写 %1$s", nullptr, nullptr},
        {"以 0 开头的数字是八进制，只能含数字 0 到 7", "；十进制数请写 %1$s", nullptr, nullptr},
        {"数字格式错误", nullptr, "“%1$s”", nullptr},
        {"名称或数字超过 63 个字符", nullptr, nullptr, nullptr},
        {"指数超过 63 位", nullptr, nullptr, nullptr},
        {"这个括号没有闭合", "；请用 %1$s 闭合", nullptr, nullptr},
        {"右括号与左括号不配对", "：请写 %1$s", nullptr, nullptr},
        {"只有最后一个参数可以包含多参数的函数调用", nullptr, nullptr, nullptr},
        {"括号内的内容超过 255 个字符", nullptr, nullptr, nullptr},
        {"括号内的括号超过 31 个", nullptr, nullptr, nullptr},
        {"函数的参数必须放在括号里", nullptr, nullptr,
         "函数的参数必须放在括号里：%1$s 接受 %2$d 个参数，如 %1$s(...)"},
        {"参数太少", nullptr, nullptr, "参数太少：%1$s 接受 %2$d 个参数"},
        {"数组函数不能在表达式中调用", nullptr, nullptr, "%1$s 是数组函数，不能在表达式中调用"},
        {"内存不足，无法准备表达式", nullptr, nullptr, nullptr},
    },
    "表达式在应有操作数的地方结束了",
    "；没有隐含的乘法：请写 *",
    "；这个右括号没有对应的左括号",
    "；制表符不是空格：只能用空格分隔",
};
static_assert(FormatsAreWellFormed(kChinese));

}  // namespace

const char* ChineseReasonText(FailureReason reason) {
    return ReasonSentence(kChinese, reason);
}

void FailureTooltipText(const char* expression, const FailureReport& report, char* text,
                        std::size_t capacity) {
    if (capacity == 0) return;
    int written = 0;
    if (report.column > 0) {
        written = std::snprintf(text, capacity, "第 %d 列：", static_cast<int>(report.column));
        if (written < 0 || static_cast<std::size_t>(written) >= capacity) return;
    }
    WriteFailureText(kChinese, expression, report, text + written,
                     capacity - static_cast<std::size_t>(written));
}
