#pragma once

#include <cstddef>

#include "engine/failure_report.h"
#include "reasons/reason_table.h"

// Why expression failed, in the language: the reason's sentence and the notes the failure shows
// (the fix, the function, a character an input method typed). Built from the report and the
// bytes inside the spans it names, so the same failure gives the same text in any process. UTF-8,
// always NUL-terminated, cut to capacity at a character boundary.
void WriteFailureText(Language language, const char* expression, const FailureReport& report,
                      char* text, std::size_t capacity);
