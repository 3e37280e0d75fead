#include "reasons/failure_text.h"

#include <cstdarg>
#include <cstdio>

#include "engine/symbol_descriptor.h"
#include "reasons/failure_hint.h"

namespace {

struct Sentence {
    char* text;
    std::size_t capacity;
    std::size_t length;
};

// The formats come from the language tables, whose pieces every table test fills.
__attribute__((format(printf, 2, 3))) void Append(Sentence& sentence, const char* format, ...) {
    if (format == nullptr || sentence.length + 1 >= sentence.capacity) return;
    std::va_list arguments;
    va_start(arguments, format);
    const int written = std::vsnprintf(sentence.text + sentence.length,
                                       sentence.capacity - sentence.length, format, arguments);
    va_end(arguments);
    if (written > 0) sentence.length += static_cast<std::size_t>(written);
    if (sentence.length >= sentence.capacity) sentence.length = sentence.capacity - 1;
}

// The token with its control bytes (a pasted tab) written as escapes that show.
void ShowableToken(const char* token, Sentence& shown) {
    for (const char* c = token; *c != '\0'; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        if (byte == '\t') {
            Append(shown, "\\t");
        } else if (byte < 0x20 || byte == 0x7F) {
            Append(shown, "\\x%02X", byte);
        } else {
            Append(shown, "%c", *c);
        }
    }
}

void AppendToken(Sentence& sentence, const char* format, const char* token) {
    char showable[4 * kTokenCapacity];
    Sentence shown{showable, sizeof showable, 0};
    showable[0] = '\0';
    ShowableToken(token, shown);
    Append(sentence, format, showable);
}

void AppendReason(const FailureLanguage& language, const ReasonSentences& row,
                  const FailureHint& hint, Sentence& sentence) {
    if (hint.function != nullptr && row.function != nullptr) {
        Append(sentence, row.function, hint.function->name, hint.arguments,
               hint.arguments == 1 ? "" : "s");
        return;
    }
    Append(sentence, "%s", hint.atEnd ? language.endsEarly : row.text);
    if (hint.fix[0] != '\0' && row.fix != nullptr) {
        Append(sentence, row.fix, hint.fix);
    } else if (hint.token[0] != '\0' && row.token != nullptr) {
        AppendToken(sentence, row.token, hint.token);
    }
}

}  // namespace

const char* ReasonSentence(const FailureLanguage& language, FailureReason reason) {
    const auto index = static_cast<std::size_t>(reason);
    return index < static_cast<std::size_t>(FailureReason::kCount) ? language.reasons[index].text
                                                                   : "";
}

void WriteFailureText(const FailureLanguage& language, const char* expression,
                      const FailureReport& report, char* text, std::size_t capacity) {
    if (capacity == 0) return;
    text[0] = '\0';
    const auto index = static_cast<std::size_t>(report.reason);
    if (index >= static_cast<std::size_t>(FailureReason::kCount)) return;
    Sentence sentence{text, capacity, 0};
    const FailureHint hint = HintFor(expression, report);
    AppendReason(language, language.reasons[index], hint, sentence);
    if (hint.openerAhead) Append(sentence, "%s", language.impliedProduct);
    if (hint.closesNothing) Append(sentence, "%s", language.unopenedCloser);
    if (hint.hasTab) Append(sentence, "%s", language.tab);
}
