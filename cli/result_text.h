#pragma once

#include "cli/command_line.h"
#include "frontend/evaluation_request.h"

// The line printed for one expression: the display text, or with exact the shortest text that
// reads back as the same single-precision value. Returns whether the expression evaluated.
bool ResultText(const char* expression, const ValueTexts& values, bool exact, DisplayText& result);

// The line printed for input that cannot be handed to the evaluation at all.
void ErrorResultText(DisplayText& result);
