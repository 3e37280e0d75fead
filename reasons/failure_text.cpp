#include "reasons/failure_text.h"

#include <cstring>

#include "reasons/failure_hint.h"
#include "reasons/utf8_text.h"

namespace {

// The sentence with each {n} replaced by the note's piece n.
void AppendSentence(TextBuffer& buffer, const char* sentence, const NoteText* note) {
    for (const char* c = sentence; *c != '\0';) {
        const char* brace = std::strchr(c, '{');
        if (brace == nullptr) {
            AppendText(buffer, c);
            return;
        }
        AppendText(buffer, c, static_cast<std::size_t>(brace - c));
        if (note != nullptr) AppendText(buffer, note->pieces[brace[1] - '1']);
        c = brace + 3;  // every brace opens "{n}", as the tables assert
    }
}

}  // namespace

void WriteFailureText(Language language, const char* expression, const FailureReport& report,
                      char* text, std::size_t capacity) {
    if (capacity == 0) return;
    TextBuffer buffer{text, capacity, 0};
    text[0] = '\0';
    if (report.reason >= FailureReason::kCount) return;
    const FailureHint hint = HintFor(expression, report);
    AppendSentence(buffer,
                   hint.endsEarly ? NoteSentence(language, Note::kEndsEarly)
                                  : ReasonSentence(language, report.reason),
                   nullptr);
    for (int i = 0; i < hint.count; ++i) {
        AppendSentence(buffer, NoteSentence(language, hint.notes[i].note), &hint.notes[i]);
    }
}
