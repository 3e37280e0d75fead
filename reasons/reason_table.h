#pragma once

#include <cstdint>

#include "engine/failure_report.h"

enum class Language : std::uint8_t { kEnglish, kChinese, kCount };

// What a failure text adds to its reason's sentence, each with its pieces {1}, {2} and {3}.
enum class Note : std::uint8_t {
    kToken,            // {1} the quoted name or number
    kEndsEarly,        // replaces the sentence when the expression ends where an operand belongs
    kNameInCase,       // {1} the known name that differs only by case
    kWrite,            // {1} what to write instead
    kOctal,            // {1} the decimal spelling
    kCloseWith,        // {1} the closer that fits
    kProduct,          // {1} the product written out
    kLeadingDigit,     // {1} the number with its leading 0
    kTakes,            // {1} a function, {2} how many arguments it takes, {3} "s" unless 1
    kTakesAfterColon,  // the same
    kTakesAs,          // the same, with how to call it
    kNamed,            // {1} the function
    kUnopenedCloser,
    kDecimalComma,  // {1} the number with a point
    kFullWidth,     // {1} the character, {2} its column, {3} the ASCII one to type
    kLikelyMeant,   // {1} the character, {2} its column, {3} the one likely meant
    kTab,
    kCount
};

// The sentence for a reason, or for a note, in a language; "" past the tables.
const char* ReasonSentence(Language language, FailureReason reason);
const char* NoteSentence(Language language, Note note);
