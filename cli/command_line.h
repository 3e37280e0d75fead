#pragma once

#include <string>

// What the arguments of quorvel-eval ask for.

enum class CommandAction { kEvaluate, kHelp, kVersion, kUsageError };

// How a value is printed: "%f" as the window shows it, the shortest text that reads back, or
// the 32-bit pattern.
enum class ResultForm { kDisplay, kExact, kBits };

// The texts the variables x, y and z are converted from.
struct ValueTexts {
    const char* x;
    const char* y;
    const char* z;
};

struct CommandLine {
    CommandAction action;
    ResultForm form;
    bool explain;  // say on standard error why each failing expression failed
    ValueTexts values;
    int firstExpression;  // index into argv; equal to argc when standard input supplies them
    const char* problem;  // for a usage error: what is wrong with culprit
    const char* culprit;
    const char* table;  // --table: the expression to tabulate, or null
    const char* range;  // --range: "x=START:STOP:STEP", or null for rows from standard input
};

// Options are read up to "--" or the first argument that is no option. A value may follow its
// option as the next argument or attached to it ("-x5"). An argument starting with a single '-'
// that names no option is taken as the first expression (a leading sign).
CommandLine ParseCommandLine(int argc, const char* const* argv);

extern const char kUsageText[];
// The language summary that the word help prints at the terminal.
std::string LanguageSummary();
// The usage, the options, the language summary and the exit statuses, for --help.
std::string HelpText();
extern const char kVersionText[];
