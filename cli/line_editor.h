#pragma once

#include "cli/line_reader.h"

// Interactive input for a terminal through libedit: line editing, this session's history on
// Up/Down (kept in memory only, never on disk), Ctrl-C to drop the line being typed. A line
// that grows past the longest expression is not shown further: the rest, up to its end, is
// read at once and dropped, and the line is reported too long.

struct LineEditor;

enum class EditOutcome { kLine, kInterrupted, kEnd };

// Edits on standard input and output. Returns null when the terminal cannot be set up.
LineEditor* OpenLineEditor(const char* program, const char* prompt);
// The line is valid until the next call. kInterrupted: Ctrl-C dropped the line being typed.
EditOutcome ReadEditedLine(LineEditor& editor, InputLine& line);
void CloseLineEditor(LineEditor* editor);
