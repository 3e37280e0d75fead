#include "tests/engine/reference/groups_and_calls.h"

#include <array>
#include <cstring>

#include "tests/engine/reference/evaluator.h"
#include "tests/engine/reference/lexical_rules.h"

namespace reference {

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

// Where each opener of a scanned group text is closed. The groups nested in it are evaluated on
// copies of parts of that text and find their ends here instead of being scanned again: a scan of
// any whole group inside an accepted text accepts it in the same way.
struct ClosingPositions {
    const char* copy;              // the group text under evaluation
    const std::uint8_t* closerAt;  // by opener position in the scanned text
    std::int32_t offset;           // position of copy[0] in the scanned text
};

thread_local const ClosingPositions* t_enclosingGroup = nullptr;

// Finds the end of the group (or, with commaEnds, a comma at its own level) and records where
// every opener inside it is closed; length receives the number of bytes before the end. The copy
// holds 255 characters: a longer group is refused rather than cut.
bool ScanGroup(const char* start, std::int32_t openerIndex, bool commaEnds, std::int32_t& length,
               std::uint8_t (&closerAt)[kGroupCapacity]) {
    const GroupCharTable& chars = kGroupChars[commaEnds];
    std::int32_t stack[kBracketDepthLimit];
    std::uint8_t openedAt[kBracketDepthLimit];
    stack[0] = openerIndex;
    int depth = 1;
    for (int j = 0;; ++j) {
        const GroupCharClass c = chars[static_cast<unsigned char>(start[j])];
        if (c.kind == GroupChar::kEnd) return false;  // the group is not closed
        if (c.kind == GroupChar::kComma) {
            if (depth != 1) return false;
            length = j;
            return true;
        }
        if (c.kind == GroupChar::kOpener) {
            if (depth >= kBracketDepthLimit) return false;
            openedAt[depth] = static_cast<std::uint8_t>(j);
            stack[depth++] = c.index;
        } else if (c.kind == GroupChar::kCloser) {
            if (stack[--depth] != c.index) return false;
            if (depth == 0) {
                length = j;
                return true;
            }
            closerAt[openedAt[depth]] = static_cast<std::uint8_t>(j);
        }
        if (j > kLastCopyIndex) return false;
    }
}

// A whole group opened inside the group text under evaluation ends where that text's scan found
// its closer.
bool FindKnownEnd(const char* text, std::int32_t cursor, std::int32_t openerIndex,
                  std::int32_t& length, ClosingPositions& positions) {
    const ClosingPositions* const enclosing = t_enclosingGroup;
    if (enclosing == nullptr || enclosing->copy != text || cursor == 0) return false;
    const GroupCharClass opener = kGroupChars[0][static_cast<unsigned char>(text[cursor - 1])];
    if (opener.kind != GroupChar::kOpener || opener.index != openerIndex) return false;
    const std::int32_t openerAt = enclosing->offset + cursor - 1;
    length = enclosing->closerAt[openerAt] - openerAt - 1;
    positions.closerAt = enclosing->closerAt;
    positions.offset = openerAt + 1;
    return true;
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
    std::uint8_t closerAt[kGroupCapacity];
    ClosingPositions positions{nullptr, closerAt, 0};
    std::int32_t length = 0;
    if (commaEnds || !FindKnownEnd(text, cursor, openerIndex, length, positions)) {
        if (!ScanGroup(start, openerIndex, commaEnds, length, closerAt)) return false;
    }
    char group[kGroupCapacity];
    std::memcpy(group, start, static_cast<std::size_t>(length));
    group[length] = '\0';
    cursor += length + 1;
    positions.copy = group;
    const ClosingPositions* const enclosing = t_enclosingGroup;
    t_enclosingGroup = &positions;
    const bool evaluated = EvaluateExpression(group, value);
    t_enclosingGroup = enclosing;
    return evaluated;
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

}  // namespace reference
