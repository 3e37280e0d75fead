#include "engine/groups_and_calls.h"

#include <array>

#include "engine/evaluator.h"
#include "engine/lexical_rules.h"

namespace {

enum class GroupChar : std::uint8_t { kPlain, kOpener, kCloser, kComma, kEnd };

struct GroupCharClass {
    GroupChar kind;
    std::int8_t index;  // the bracket's index within its half of the bracket table
};

using GroupCharTable = std::array<GroupCharClass, 256>;

// What each byte means to the group reader, derived from the bracket table; a comma ends only
// a non-final argument, so in a whole group it is copied like any other character.
constexpr GroupCharTable MakeGroupChars(bool commaEnds) {
    GroupCharTable table{};
    for (int row = 0; row < 6; ++row) {
        const auto c = static_cast<unsigned char>(kBracketTable[row].name[0]);
        const bool opens = kBracketTable[row].kind == kOpeningBracket;
        table[c] = {opens ? GroupChar::kOpener : GroupChar::kCloser,
                    static_cast<std::int8_t>(row % 3)};
    }
    if (commaEnds) table[static_cast<unsigned char>(',')].kind = GroupChar::kComma;
    table[0].kind = GroupChar::kEnd;
    return table;
}

constexpr GroupCharTable kGroupChars[2] = {MakeGroupChars(false), MakeGroupChars(true)};

constexpr int kLastCopyIndex = kGroupCapacity - 2;

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

const SymbolDescriptor* MatchOpenBracket(const char* text, std::int32_t& cursor,
                                         std::int32_t& index) {
    SkipSpaces(text, cursor);
    const GroupCharClass found = kGroupChars[0][static_cast<unsigned char>(text[cursor])];
    if (found.kind != GroupChar::kOpener) return nullptr;
    ++cursor;
    index = found.index;
    return &kBracketTable[found.index];
}

// The copy holds 255 characters: a longer group is refused rather than cut.
bool ReadGroup(const char* text, std::int32_t& cursor, float& value, std::int32_t openerIndex,
               bool commaEnds) {
    value = 0.0f;
    const char* const start = text + cursor;
    const GroupCharTable& chars = kGroupChars[commaEnds];
    char group[kGroupCapacity];
    std::int32_t stack[kBracketDepthLimit];
    stack[0] = openerIndex;
    int depth = 1;
    int j = 0;
    for (;; ++j) {
        const GroupCharClass c = chars[static_cast<unsigned char>(start[j])];
        if (c.kind == GroupChar::kEnd) return false;  // the group is not closed
        if (c.kind == GroupChar::kComma) {
            if (depth != 1) return false;
            break;
        }
        if (c.kind == GroupChar::kOpener) {
            if (depth >= kBracketDepthLimit) return false;
            stack[depth++] = c.index;
        } else if (c.kind == GroupChar::kCloser) {
            if (stack[--depth] != c.index) return false;
            if (depth == 0) break;
        }
        if (j > kLastCopyIndex) return false;
        group[j] = start[j];
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
