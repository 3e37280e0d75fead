#include "reasons/failure_tooltip.h"

#include <cstdio>

#include "reasons/failure_text.h"
#include "reasons/utf8_text.h"

const char* ChineseReasonText(FailureReason reason) {
    return ReasonSentence(Language::kChinese, reason);
}

void FailureTooltipText(const char* expression, const FailureReport& report, char* text,
                        std::size_t capacity) {
    if (capacity == 0) return;
    TextBuffer buffer{text, capacity, 0};
    text[0] = '\0';
    if (report.column > 0) {
        char column[32];
        std::snprintf(column, sizeof column, "第 %d 列：",
                      static_cast<int>(CharacterColumn(expression, report.column)));
        AppendText(buffer, column);
    }
    WriteFailureText(Language::kChinese, expression, report, text + buffer.length,
                     capacity - buffer.length);
}
