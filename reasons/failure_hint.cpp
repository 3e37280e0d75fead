#include "reasons/failure_hint.h"

#include <cstdio>
#include <cstring>

#include "engine/evaluator.h"
#include "engine/groups_and_calls.h"
#include "engine/name_tables.h"
#include "reasons/utf8_text.h"

namespace {

constexpr int kOpenerRows = 3;  // the bracket table's first half opens, its second half closes

// The bracket index (0-2) of c within the half of the bracket table from firstRow, or -1.
int BracketIndex(char c, int firstRow) {
    for (int index = 0; index < kOpenerRows; ++index) {
        if (c != '\0' && kBracketTable[firstRow + index].name[0] == c) return index;
    }
    return -1;
}

// The characters that an input method types in place of an ASCII one: the whole full-width
// block and the ideographic space stand for the ASCII character itself; these punctuation marks
// are likely meant as the ASCII one beside them.
struct Slip {
    char32_t typed;
    char meant;
};
constexpr Slip kLikelySlips[] = {
    {U'【', '['}, {U'】', ']'}, {U'。', '.'}, {U'、', ','}, {U'×', '*'}, {U'÷', '/'},
};
constexpr char32_t kFullWidthFirst = 0xFF01;
constexpr char32_t kFullWidthLast = 0xFF5E;
constexpr char32_t kFullWidthOffset = 0xFEE0;
constexpr char32_t kIdeographicSpace = 0x3000;

// The bytes the report's token covers, within the text.
struct Token {
    const char* text;
    std::size_t length;
};

Token TokenOf(const char* expression, const FailureReport& report) {
    const std::size_t limit = report.token.end > 0 ? static_cast<std::size_t>(report.token.end) : 0;
    const auto length = static_cast<std::int32_t>(strnlen(expression, limit));
    std::int32_t begin = report.token.begin < 0 ? 0 : report.token.begin;
    std::int32_t end = report.token.end > length ? length : report.token.end;
    if (begin > end) begin = end;
    return {expression + begin, static_cast<std::size_t>(end - begin)};
}

char* AddNote(FailureHint& hint, Note note) {
    if (hint.count == kNoteLimit) return nullptr;
    NoteText& added = hint.notes[hint.count++];
    added = NoteText{};
    added.note = note;
    return added.pieces[0];
}

void AddNote(FailureHint& hint, Note note, const char* piece, std::size_t length) {
    char* first = AddNote(hint, note);
    if (first == nullptr) return;
    TextBuffer buffer{first, kPieceCapacity, 0};
    AppendText(buffer, piece, length);
}

void AddQuoted(FailureHint& hint, Note note, const Token& token) {
    char* first = AddNote(hint, note);
    if (first == nullptr) return;
    TextBuffer buffer{first, kPieceCapacity, 0};
    AppendQuoted(buffer, token.text, token.length);
}

int ArgumentsOf(const SymbolDescriptor& row) {
    return row.kind >= kFunction1 && row.kind <= kFunction4 ? row.kind - kFunction1 + 1 : 0;
}

void AddFunction(FailureHint& hint, Note note, const SymbolDescriptor& row) {
    char* first = AddNote(hint, note);
    if (first == nullptr) return;
    NoteText& added = hint.notes[hint.count - 1];
    const int arguments = ArgumentsOf(row);
    std::snprintf(added.pieces[0], kPieceCapacity, "%s", row.name);
    std::snprintf(added.pieces[1], kPieceCapacity, "%d", arguments);
    std::snprintf(added.pieces[2], kPieceCapacity, "%s", arguments == 1 ? "" : "s");
}

char FoldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// ASCII letters only, so no locale can make two names alike.
bool EqualIgnoringCase(const Token& token, const char* name) {
    std::size_t i = 0;
    for (; i < token.length && name[i] != '\0'; ++i) {
        if (FoldCase(token.text[i]) != FoldCase(name[i])) return false;
    }
    return i == token.length && name[i] == '\0';
}

// A constant, function or variable whose name differs from the token only by case.
bool AddNameInCase(const Token& token, FailureHint& hint) {
    for (const ConstantDefinition& constant : BuiltinConstants()) {
        if (EqualIgnoringCase(token, constant.name)) {
            AddNote(hint, Note::kNameInCase, constant.name, constant.length);
            return true;
        }
    }
    for (const SymbolDescriptor& row : BuiltinFunctions()) {
        if (EqualIgnoringCase(token, row.name)) {
            AddNote(hint, Note::kNameInCase, row.name, std::strlen(row.name));
            return true;
        }
    }
    const char letter = FoldCase(token.text[0]);
    if (token.length == 1 && letter >= 'a' && letter < 'a' + kVariableCount) {
        AddNote(hint, Note::kNameInCase, &letter, 1);
        return true;
    }
    return false;
}

std::size_t RunOf(const Token& token, std::size_t at, const char* accepted) {
    std::size_t end = at;
    while (end < token.length && token.text[end] != '\0' && std::strchr(accepted, token.text[end]))
        ++end;
    return end - at;
}

constexpr const char* kDigits = "0123456789";
constexpr const char* kDigitsAndPoint = "0123456789.";

// "1e3" with a point in the user's own digits, marker and exponent: "1.0e3".
void AddScientificWithPoint(const Token& token, FailureHint& hint) {
    const std::size_t mantissa = RunOf(token, 0, kDigits);
    char fix[kPieceCapacity];
    std::snprintf(fix, sizeof fix, "%.*s.0%.*s", static_cast<int>(mantissa), token.text,
                  static_cast<int>(token.length - mantissa), token.text + mantissa);
    AddNote(hint, Note::kWrite, fix, std::strlen(fix));
}

// "09" as the decimal number it was meant to be: "9".
void AddDecimalSpelling(const Token& token, FailureHint& hint) {
    std::size_t zeros = RunOf(token, 0, "0");
    if (zeros == token.length) --zeros;
    AddNote(hint, Note::kOctal, token.text + zeros, token.length - zeros);
}

bool IsKnownName(const char* name, std::size_t length) {
    for (const ConstantDefinition& constant : BuiltinConstants()) {
        if (length == constant.length && std::memcmp(name, constant.name, length) == 0) return true;
    }
    const bool variable = length == 1 && name[0] >= 'a' && name[0] < 'a' + kVariableCount;
    return variable || FindBuiltin(name, length) != nullptr;
}

// ".5" read as the number 0.5, or "2E" and "2x" as the products 2*E and 2*x.
void AddNumberFix(const Token& token, FailureHint& hint) {
    char fix[kPieceCapacity];
    const std::size_t number = RunOf(token, 0, kDigitsAndPoint);
    if (token.text[0] == '.' && number == token.length && RunOf(token, 1, kDigits) + 1 == number) {
        std::snprintf(fix, sizeof fix, "0%.*s", static_cast<int>(token.length), token.text);
        AddNote(hint, Note::kLeadingDigit, fix, std::strlen(fix));
        return;
    }
    if (number == 0 || number == token.length) return;
    if (!IsKnownName(token.text + number, token.length - number)) return;
    std::snprintf(fix, sizeof fix, "%.*s*%.*s", static_cast<int>(number), token.text,
                  static_cast<int>(token.length - number), token.text + number);
    AddNote(hint, Note::kProduct, fix, std::strlen(fix));
}

void AddCloser(const char* expression, std::int32_t opener, Note note, FailureHint& hint) {
    if (opener < 0) return;
    const int index = BracketIndex(expression[opener], 0);
    if (index < 0) return;
    AddNote(hint, note, kBracketTable[kOpenerRows + index].name, 1);
}

bool IsDigitAt(const char* expression, std::int32_t at) {
    return at >= 0 && IsDigit(expression[at]);
}

// "1,5" outside every call, as the number it was likely meant to be: "1.5".
void AddDecimalComma(const char* expression, std::int32_t comma, FailureHint& hint) {
    if (!IsDigitAt(expression, comma - 1) || !IsDigitAt(expression, comma + 1)) return;
    std::int32_t begin = comma - 1;
    while (IsDigitAt(expression, begin - 1) && comma - begin < kTokenCapacity)
        --begin;
    std::int32_t end = comma + 1;
    while (IsDigit(expression[end]) && end - comma < kTokenCapacity)
        ++end;
    char fix[kPieceCapacity];
    std::snprintf(fix, sizeof fix, "%.*s.%.*s", comma - begin, expression + begin, end - comma - 1,
                  expression + comma + 1);
    AddNote(hint, Note::kDecimalComma, fix, std::strlen(fix));
}

// The ASCII character an input method's character stands for, '\0' when none.
char AsciiFor(char32_t typed, Note& note) {
    note = Note::kFullWidth;
    if (typed >= kFullWidthFirst && typed <= kFullWidthLast) {
        return static_cast<char>(typed - kFullWidthOffset);
    }
    if (typed == kIdeographicSpace) return ' ';
    note = Note::kLikelyMeant;
    for (const Slip& slip : kLikelySlips) {
        if (slip.typed == typed) return slip.meant;
    }
    return '\0';
}

// The first character of the token that an input method typed in place of an ASCII one, with
// its column in characters.
void AddInputMethodSlip(const char* expression, const Token& token, FailureHint& hint) {
    std::size_t at = 0;
    while (at < token.length) {
        char32_t typed = 0;
        const int taken = Utf8CharacterAt(token.text + at, token.length - at, typed);
        Note note = Note::kFullWidth;
        const char meant = taken > 1 ? AsciiFor(typed, note) : '\0';
        if (meant != '\0') {
            NoteText* added = hint.count < kNoteLimit ? &hint.notes[hint.count] : nullptr;
            AddNote(hint, note, token.text + at, static_cast<std::size_t>(taken));
            if (added == nullptr) return;
            const auto byteColumn = static_cast<std::int32_t>(token.text + at - expression) + 1;
            std::snprintf(added->pieces[1], kPieceCapacity, "%d",
                          static_cast<int>(CharacterColumn(expression, byteColumn)));
            added->pieces[2][0] = meant;
            return;
        }
        at += taken > 0 ? static_cast<std::size_t>(taken) : 1;
    }
}

bool Holds(const Token& token, char c) {
    return std::memchr(token.text, c, token.length) != nullptr;
}

// The notes that belong to the reason itself.
void AddReasonNotes(const char* expression, const FailureReport& report, const Token& token,
                    FailureHint& hint) {
    const char first = token.length > 0 ? token.text[0] : '\0';
    switch (report.reason) {
        case FailureReason::kUnknownName:
            if (!AddNameInCase(token, hint)) AddQuoted(hint, Note::kToken, token);
            break;
        case FailureReason::kMalformedNumber:
            AddQuoted(hint, Note::kToken, token);
            AddNumberFix(token, hint);
            break;
        case FailureReason::kScientificWithoutPoint:
            AddScientificWithPoint(token, hint);
            break;
        case FailureReason::kOctalDigit:
            AddDecimalSpelling(token, hint);
            break;
        case FailureReason::kUnclosedBracket:
            AddCloser(expression, report.opener, Note::kCloseWith, hint);
            break;
        case FailureReason::kWrongCloser:
            AddCloser(expression, report.opener, Note::kWrite, hint);
            break;
        case FailureReason::kOperatorExpected:
            if (first == ',' && report.function != nullptr) {
                AddFunction(hint, Note::kTakes, *report.function);
            } else if (BracketIndex(first, 0) >= 0) {
                AddNote(hint, Note::kProduct, "*", 1);
            } else if (BracketIndex(first, kOpenerRows) >= 0 && report.opener < 0) {
                AddNote(hint, Note::kUnopenedCloser);
            }
            break;
        case FailureReason::kCommaOutsideCall:
            if (report.function == nullptr) AddDecimalComma(expression, report.token.begin, hint);
            break;
        case FailureReason::kMissingArguments:
            if (report.function != nullptr) AddFunction(hint, Note::kTakesAs, *report.function);
            break;
        case FailureReason::kArgumentCount:
            if (report.function != nullptr) {
                AddFunction(hint, Note::kTakesAfterColon, *report.function);
            }
            break;
        case FailureReason::kArrayFunction:
            if (report.function != nullptr) AddFunction(hint, Note::kNamed, *report.function);
            break;
        default:
            break;
    }
}

}  // namespace

FailureHint HintFor(const char* expression, const FailureReport& report) {
    FailureHint hint{};
    if (report.column < 1) return hint;
    const Token token = TokenOf(expression, report);
    hint.endsEarly = report.reason == FailureReason::kOperandExpected && token.length == 0;
    AddReasonNotes(expression, report, token, hint);
    AddInputMethodSlip(expression, token, hint);
    if (Holds(token, '\t')) AddNote(hint, Note::kTab);
    return hint;
}
