#include "engine/groups_and_calls.h"

#include "engine/evaluator.h"
#include "engine/lexical_rules.h"

namespace {

constexpr SymbolDescriptor BracketRow(char name, SymbolKind kind) {
    return {{name}, 1, kind, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
}

constexpr std::int32_t kNotABracket = -1;

std::int32_t BracketIndex(char c, SymbolKind kind) {
    const int first = kind == kOpeningBracket ? 0 : 3;
    for (int i = 0; i < 3; ++i) {
        if (kBracketTable[first + i].name[0] == c) return i;
    }
    return kNotABracket;
}

// A non-final argument reads up to a comma at its own level; the last one up to the closer.
template <int Count>
bool ReadArguments(std::int32_t& cursor, const char* text, float (&arguments)[Count]) {
    std::int32_t opener = 0;
    if (MatchOpenBracket(text, cursor, opener) == nullptr) return false;
    for (int i = 0; i < Count; ++i) {
        if (!ReadGroup(text, cursor, arguments[i], opener, i + 1 < Count)) return false;
    }
    return true;
}

}  // namespace

const SymbolDescriptor kBracketTable[6] = {
    BracketRow('(', kOpeningBracket), BracketRow('[', kOpeningBracket),
    BracketRow('{', kOpeningBracket), BracketRow(')', kClosingBracket),
    BracketRow(']', kClosingBracket), BracketRow('}', kClosingBracket),
};

const SymbolDescriptor* MatchOpenBracket(const char* text, std::int32_t& cursor,
                                         std::int32_t& index) {
    SkipSpaces(text, cursor);
    const std::int32_t found = BracketIndex(text[cursor], kOpeningBracket);
    if (found == kNotABracket) return nullptr;
    ++cursor;
    index = found;
    return &kBracketTable[found];
}

bool ReadGroup(const char* text, std::int32_t& cursor, float& value, std::int32_t openerIndex,
               bool commaEnds) {
    value = 0.0f;
    const char* start = text + cursor;
    if (start[0] == '\0') return false;
    char group[kGroupCapacity];
    std::int32_t stack[kBracketDepthLimit];
    stack[0] = openerIndex;
    int depth = 1;
    int j = 0;
    for (;; ++j) {
        const char c = start[j];
        const std::int32_t opener = BracketIndex(c, kOpeningBracket);
        const std::int32_t closer =
            opener == kNotABracket ? BracketIndex(c, kClosingBracket) : kNotABracket;
        if (opener != kNotABracket) {
            if (depth >= kBracketDepthLimit) return false;
            stack[depth++] = opener;
        } else if (closer != kNotABracket) {
            if (stack[--depth] != closer) return false;
        } else if (commaEnds && c == ',') {
            if (depth != 1) return false;
            break;
        }
        if (depth == 0) break;
        // The copy holds 255 characters; a longer group is refused rather than cut.
        if (j == kGroupCapacity - 1) return false;
        group[j] = c;
        if (start[j + 1] == '\0') return false;
    }
    group[j] = '\0';
    cursor += j + 1;
    return EvaluateExpression(group, value);
}

bool CallFunction(const SymbolDescriptor& row, std::int32_t& cursor, float& value,
                  const char* text) {
    value = 0.0f;
    switch (row.kind) {
        case kUnarySign:
        case kFunction1: {
            float a[1];
            if (row.one == nullptr || !ReadArguments(cursor, text, a)) return false;
            value = row.one(a[0]);
            return true;
        }
        case kBinaryOperator:
        case kFunction2: {
            float a[2];
            if (row.two == nullptr || !ReadArguments(cursor, text, a)) return false;
            value = row.two(a[0], a[1]);
            return true;
        }
        case kFunction3: {
            float a[3];
            if (row.three == nullptr || !ReadArguments(cursor, text, a)) return false;
            value = row.three(a[0], a[1], a[2]);
            return true;
        }
        case kFunction4: {
            float a[4];
            if (row.four == nullptr || !ReadArguments(cursor, text, a)) return false;
            value = row.four(a[0], a[1], a[2], a[3]);
            return true;
        }
        default:
            return false;
    }
}
