#include "reasons/failure_explanation.h"

#include "reasons/failure_text.h"
#include "reasons/utf8_text.h"

const char* ReasonText(FailureReason reason) {
    return ReasonSentence(Language::kEnglish, reason);
}

void ExplainFailure(const char* expression, const FailureReport& report, char* text,
                    std::size_t capacity) {
    WriteFailureText(Language::kEnglish, expression, report, text, capacity);
}

std::int32_t FailureColumn(const char* expression, const FailureReport& report) {
    return CharacterColumn(expression, report.column);
}
