#pragma once

#include "engine/failure_report.h"
#include "engine/lexical_rules.h"
#include "reasons/reason_table.h"

// Enough for a name or number of 63 bytes written as escapes.
inline constexpr int kPieceCapacity = 4 * kTokenCapacity;
inline constexpr int kNoteLimit = 4;

struct NoteText {
    Note note;
    char pieces[3][kPieceCapacity];  // {1}, {2}, {3}; "" where the note has none
};

// What a failure's text adds to its reason, read from the report and from the expression's bytes
// inside the spans the report names. Language-neutral: every language's text shares it.
struct FailureHint {
    bool endsEarly;  // the expression ends where an operand belongs
    int count;
    NoteText notes[kNoteLimit];
};

FailureHint HintFor(const char* expression, const FailureReport& report);
