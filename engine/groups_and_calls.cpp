#include "engine/groups_and_calls.h"

#include <array>

#include "engine/lexical_rules.h"
#include "engine/name_tables.h"
#include "engine/program_recording.h"

namespace {

enum class GroupChar : std::uint8_t { kPlain, kOpener, kCloser, kComma, kEnd };

struct GroupCharClass {
    GroupChar kind;
    std::int8_t index;  // the bracket's index within its half of the bracket table
};

using GroupCharTable = std::array<GroupCharClass, 256>;

// What each byte means to the group reader, derived from the bracket table; a comma ends only
// a non-final argument, so in a whole group it is read like any other character. The NUL, which
// lies at or past the end of every span, stops the run of plain bytes.
constexpr GroupCharTable MakeGroupChars(bool commaEnds) {
    GroupCharTable table{};
    table[0].kind = GroupChar::kEnd;
    for (int row = 0; row < 6; ++row) {
        const auto c = static_cast<unsigned char>(kBracketTable[row].name[0]);
        const bool opens = kBracketTable[row].kind == kOpeningBracket;
        table[c] = {opens ? GroupChar::kOpener : GroupChar::kCloser,
                    static_cast<std::int8_t>(row % 3)};
    }
    if (commaEnds) table[static_cast<unsigned char>(',')].kind = GroupChar::kComma;
    return table;
}

constexpr GroupCharTable kGroupChars[2] = {MakeGroupChars(false), MakeGroupChars(true)};

constexpr std::int32_t kAtOwnOpener = -1;

// Where a scan failed, by offsets from the group's first byte (kAtOwnOpener for the bracket that
// opened it): the byte at fault and the bracket the failure concerns.
struct ScanFailure {
    FailureReason reason;
    std::int32_t at;
    std::int32_t opener;
};

// Finds the end of the group that starts at start (or, with commaEnds, a comma at its own
// level) before limit, the end of the span it lies in, and records where every opener inside
// it is closed; length receives the number of bytes before the end. A group text holds at most
// 255 characters, with brackets nested at most 32 deep counting its own.
ScanFailure ScanGroup(const char* start, std::int32_t limit, std::int32_t openerIndex,
                      bool commaEnds, std::int32_t& length,
                      std::uint8_t (&closerAt)[kGroupCapacity]) {
    const GroupCharTable& chars = kGroupChars[commaEnds];
    std::int32_t stack[kBracketDepthLimit];
    std::int32_t openedAt[kBracketDepthLimit];
    stack[0] = openerIndex;
    openedAt[0] = kAtOwnOpener;
    int depth = 1;
    const std::int32_t stop = limit < kGroupCapacity ? limit : kGroupCapacity;
    for (std::int32_t j = 0;; ++j) {
        // Plain bytes pass in a tight loop that only the NUL bounds; one found past the stop
        // ends the scan there, as if the scan had stopped at it.
        GroupCharClass c = chars[static_cast<unsigned char>(start[j])];
        while (c.kind == GroupChar::kPlain)
            c = chars[static_cast<unsigned char>(start[++j])];
        if (j >= stop) break;
        if (c.kind == GroupChar::kComma) {
            if (depth != 1) return {FailureReason::kNestedComma, j, openedAt[depth - 1]};
            length = j;
            return {FailureReason::kNone, 0, 0};
        }
        if (c.kind == GroupChar::kOpener) {
            if (depth == kBracketDepthLimit) {
                return {FailureReason::kNestingTooDeep, kAtOwnOpener, kAtOwnOpener};
            }
            openedAt[depth] = j;
            stack[depth++] = c.index;
        } else if (c.kind == GroupChar::kCloser) {
            if (stack[--depth] != c.index) {
                return {FailureReason::kWrongCloser, j, openedAt[depth]};
            }
            if (depth == 0) {
                length = j;
                return {FailureReason::kNone, 0, 0};
            }
            closerAt[openedAt[depth]] = static_cast<std::uint8_t>(j);
        }
    }
    if (stop == kGroupCapacity) {
        return {FailureReason::kGroupTooLong, kAtOwnOpener, kAtOwnOpener};
    }
    return {FailureReason::kUnclosedBracket, openedAt[depth - 1], openedAt[depth - 1]};
}

// The built-in function named right before the bracket at opener, spaces between allowed.
const SymbolDescriptor* FunctionNamedBefore(const char* text, std::int32_t opener) {
    std::int32_t end = opener;
    while (end > 0 && text[end - 1] == ' ')
        --end;
    std::int32_t begin = end;
    while (begin > 0 && !IsDelimiter(text[begin - 1]))
        --begin;
    return FindBuiltin(text + begin, static_cast<std::size_t>(end - begin));
}

// Reports a failed scan of a part. A comma inside a nested bracket belongs to a call, which the
// report names, only when a function's name stands before that bracket; otherwise the report
// names the call the part belongs to.
bool FailScan(const Expression& expression, const Span& part, const ScanFailure& failure,
              std::int32_t openerAt) {
    const auto place = [&](std::int32_t offset) {
        return offset == kAtOwnOpener ? openerAt : part.begin + offset;
    };
    const std::int32_t opener = place(failure.opener);
    FailureReason reason = failure.reason;
    const SymbolDescriptor* function = part.call;
    if (reason == FailureReason::kNestedComma && expression.report != nullptr) {
        const SymbolDescriptor* inner = FunctionNamedBefore(expression.text, opener);
        if (inner == nullptr) reason = FailureReason::kCommaOutsideCall;
        if (inner != nullptr) function = inner;
    }
    return Fail(expression, reason, place(failure.at), opener, function);
}

// Evaluates a part where it lies. A part that is one bracket group and nothing else, as the
// argument of abs((x+1)) is, has that group's value and fails as the group fails, so the group is
// evaluated in its place, with no frame for the part around it.
[[gnu::always_inline]] inline bool EvaluatePart(const Expression& expression, Span part,
                                                float& value) {
    std::int32_t index = 0;
    while (IsOpener(expression.text[part.begin], index) &&
           part.origin + part.closerAt[part.begin - part.origin] == part.end - 1) {
        part = {part.begin + 1, part.end - 1, part.closerAt, part.origin, part.begin, nullptr};
    }
    return EvaluateSpan(expression, part, value);
}

// Scans one group or argument from the cursor, as ReadPart describes, and evaluates it with the
// map the scan made. Kept out of line so that the map and its stack guard stay out of the frames
// of the groups that reuse an enclosing scan.
[[gnu::noinline]] bool ReadScannedPart(const Expression& expression, const Span& span,
                                       std::int32_t& cursor, float& value, std::int32_t openerIndex,
                                       std::int32_t openerAt, bool commaEnds,
                                       const SymbolDescriptor* call) {
    std::uint8_t closerAt[kGroupCapacity];
    Span part{cursor, 0, closerAt, cursor, openerAt, call};
    std::int32_t length = 0;
    const ScanFailure failure = ScanGroup(expression.text + cursor, span.end - cursor, openerIndex,
                                          commaEnds, length, closerAt);
    if (failure.reason != FailureReason::kNone) {
        return FailScan(expression, part, failure, openerAt);
    }
    part.end = cursor + length;
    cursor = part.end + 1;
    return EvaluatePart(expression, part, value);
}

// Where an argument that starts inside a call's brackets, at the level just inside them, ends:
// at the first comma of that level or at the call's closer; -1 when a comma inside a further
// bracket comes first. Only for a call inside a scanned group, whose brackets all match.
std::int32_t CommaOrCloserAt(const char* text, std::int32_t at) {
    int depth = 0;
    for (;; ++at) {
        const GroupCharClass c = kGroupChars[true][static_cast<unsigned char>(text[at])];
        if (c.kind == GroupChar::kOpener) {
            ++depth;
        } else if (c.kind == GroupChar::kCloser) {
            if (depth == 0) return at;
            --depth;
        } else if (c.kind != GroupChar::kPlain) {
            return depth == 0 && c.kind == GroupChar::kComma ? at : -1;
        }
    }
}

// Where the part from the cursor ends by the scanned group around it, or -1 where only a scan of
// its own can tell.
std::int32_t MappedEnd(const Expression& expression, const Span& span, std::int32_t cursor,
                       std::int32_t openerAt, bool commaEnds) {
    if (!commaEnds) return span.origin + span.closerAt[openerAt - span.origin];
    return CommaOrCloserAt(expression.text, cursor);
}

// Reads one group or argument from the cursor up to the closer of the bracket at openerAt (or,
// with commaEnds, up to a comma at its own level) and evaluates it where it lies; call is the
// function whose argument it is. mapped says that the part starts right after its bracket or a
// comma at the level just inside it, inside a scanned group: a scan of such a part, inside an
// accepted group, accepts it where that group's map or its matched brackets say it ends, unless
// a comma inside a further bracket comes first. Inlined into its two callers, so that a group or
// argument costs no frame of its own besides the evaluation of its span.
[[gnu::always_inline]] inline bool ReadPart(const Expression& expression, const Span& span,
                                            std::int32_t& cursor, float& value,
                                            std::int32_t openerIndex, std::int32_t openerAt,
                                            bool commaEnds, const SymbolDescriptor* call,
                                            bool mapped) {
    value = 0.0f;
    const std::int32_t end = mapped ? MappedEnd(expression, span, cursor, openerAt, commaEnds) : -1;
    if (end < 0) {
        return ReadScannedPart(expression, span, cursor, value, openerIndex, openerAt, commaEnds,
                               call);
    }
    const Span part{cursor, end, span.closerAt, span.origin, openerAt, call};
    cursor = end + 1;
    return EvaluatePart(expression, part, value);
}

// Whether the failure of a later argument says only that the arguments ran out: the text after
// the call's closer held no end for it, or nothing stood in it.
bool ArgumentsRanOut(const Expression& expression) {
    const FailureReason reason = expression.report->reason;
    return reason == FailureReason::kUnclosedBracket || reason == FailureReason::kOperandExpected;
}

// A non-final argument reads up to a comma at its own level; the last one up to the closer. A
// non-final argument that ends at the call's closer leaves the next one to the text after it,
// which is seldom more than a missing argument: that is what a failure there reports, unless
// the engine stopped on something that stood there.
template <int Count>
bool ReadArguments(const Expression& expression, const Span& span, const SymbolDescriptor& row,
                   std::int32_t& cursor, float (&arguments)[Count]) {
    std::int32_t opener = 0;
    if (MatchOpenBracket(expression.text, cursor, opener) == nullptr) {
        return Fail(expression, FailureReason::kMissingArguments, cursor, span.opener, &row);
    }
    const std::int32_t openerAt = cursor - 1;
    std::int32_t closedAt = -1;
    for (int i = 0; i < Count; ++i) {
        const bool last = i + 1 == Count;
        // Every argument before this one ended at a comma of the call's own level.
        const bool mapped = closedAt < 0 && span.closerAt != nullptr;
        if (!ReadPart(expression, span, cursor, arguments[i], opener, openerAt, !last, &row,
                      mapped)) {
            if (closedAt >= 0 && expression.report != nullptr && ArgumentsRanOut(expression)) {
                Fail(expression, FailureReason::kArgumentCount, closedAt, openerAt, &row);
            }
            return false;
        }
        if (!last && closedAt < 0 && expression.text[cursor - 1] != ',') closedAt = cursor - 1;
    }
    return true;
}

}  // namespace

bool IsOpener(char c, std::int32_t& index) {
    const GroupCharClass found = kGroupChars[0][static_cast<unsigned char>(c)];
    index = found.index;
    return found.kind == GroupChar::kOpener;
}

const SymbolDescriptor* MatchOpenBracket(const char* text, std::int32_t& cursor,
                                         std::int32_t& index) {
    SkipSpaces(text, cursor);
    if (!IsOpener(text[cursor], index)) return nullptr;
    ++cursor;
    return &kBracketTable[index];
}

bool ReadGroup(const Expression& expression, const Span& span, std::int32_t& cursor, float& value,
               std::int32_t openerIndex) {
    return ReadPart(expression, span, cursor, value, openerIndex, cursor - 1, false, nullptr,
                    span.closerAt != nullptr);
}

// Only the one- to four-argument rows have a reader; the array functions cannot be called. While a
// program is prepared the call is recorded instead of made, so preparing never draws.
bool CallFunction(const Expression& expression, const Span& span, const SymbolDescriptor& row,
                  std::int32_t nameAt, std::int32_t& cursor, float& value) {
    value = 0.0f;
    const bool recording = expression.recorder != nullptr;
    const auto notCallable = [&] {
        return Fail(expression, FailureReason::kArrayFunction, nameAt, span.opener, &row);
    };
    switch (row.kind) {
        case kUnarySign:
        case kFunction1: {
            float a[1];
            if (row.one == nullptr) return notCallable();
            if (!ReadArguments(expression, span, row, cursor, a)) return false;
            value = recording ? RecordCall(*expression.recorder, row) : row.one(a[0]);
            return true;
        }
        case kBinaryOperator:
        case kFunction2: {
            float a[2];
            if (row.two == nullptr) return notCallable();
            if (!ReadArguments(expression, span, row, cursor, a)) return false;
            value = recording ? RecordCall(*expression.recorder, row) : row.two(a[0], a[1]);
            return true;
        }
        case kFunction3: {
            float a[3];
            if (row.three == nullptr) return notCallable();
            if (!ReadArguments(expression, span, row, cursor, a)) return false;
            value = recording ? RecordCall(*expression.recorder, row) : row.three(a[0], a[1], a[2]);
            return true;
        }
        case kFunction4: {
            float a[4];
            if (row.four == nullptr) return notCallable();
            if (!ReadArguments(expression, span, row, cursor, a)) return false;
            value = recording ? RecordCall(*expression.recorder, row)
                              : row.four(a[0], a[1], a[2], a[3]);
            return true;
        }
        default:
            return notCallable();
    }
}
