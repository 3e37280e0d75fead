#include "cli/command_line.h"

#include <cstring>

#include "reasons/help_tables.h"

#ifndef QUORVEL_VERSION
#error "QUORVEL_VERSION must be defined by the build"
#endif

namespace {

constexpr char kDefaultValueText[] = "0.0";

struct ValueOption {
    const char* name;
    const char* ValueTexts::*text;
};

constexpr ValueOption kValueOptions[] = {
    {"-x", &ValueTexts::x},
    {"-y", &ValueTexts::y},
    {"-z", &ValueTexts::z},
};

// A long option whose text is the next argument.
struct TextOption {
    const char* name;
    const char* CommandLine::*text;
    const char* missing;  // the problem when no argument follows
};

constexpr TextOption kTextOptions[] = {
    {"--table", &CommandLine::table, "missing expression after"},
    {"--range", &CommandLine::range, "missing START:STOP:STEP after"},
};

struct FlagOption {
    const char* name;
    CommandAction action;  // kEvaluate: the flag only chooses how values are printed
    ResultForm form;
    bool CommandLine::*setting;  // instead of the form, the switch the flag turns on
};

constexpr FlagOption kFlagOptions[] = {
    {"--exact", CommandAction::kEvaluate, ResultForm::kExact, nullptr},
    {"--bits", CommandAction::kEvaluate, ResultForm::kBits, nullptr},
    {"--explain", CommandAction::kEvaluate, ResultForm::kDisplay, &CommandLine::explain},
    {"-h", CommandAction::kHelp, ResultForm::kDisplay, nullptr},
    {"--help", CommandAction::kHelp, ResultForm::kDisplay, nullptr},
    {"--version", CommandAction::kVersion, ResultForm::kDisplay, nullptr},
};

// The option that argument names, alone ("-x") or with its value attached ("-x5").
const ValueOption* FindValueOption(const char* argument) {
    for (const ValueOption& option : kValueOptions) {
        if (std::strncmp(option.name, argument, 2) == 0) return &option;
    }
    return nullptr;
}

const TextOption* FindTextOption(const char* argument) {
    for (const TextOption& option : kTextOptions) {
        if (std::strcmp(option.name, argument) == 0) return &option;
    }
    return nullptr;
}

const FlagOption* FindFlagOption(const char* argument) {
    for (const FlagOption& option : kFlagOptions) {
        if (std::strcmp(option.name, argument) == 0) return &option;
    }
    return nullptr;
}

CommandLine UsageError(CommandLine line, const char* problem, const char* culprit) {
    line.action = CommandAction::kUsageError;
    line.problem = problem;
    line.culprit = culprit;
    return line;
}

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    CommandLine line{CommandAction::kEvaluate,
                     ResultForm::kDisplay,
                     false,
                     {kDefaultValueText, kDefaultValueText, kDefaultValueText},
                     argc,
                     nullptr,
                     nullptr,
                     nullptr,
                     nullptr};
    int index = 1;
    while (index < argc) {
        const char* argument = argv[index];
        if (std::strcmp(argument, "--") == 0) {
            ++index;
            break;
        }
        if (argument[0] != '-') break;
        if (const ValueOption* option = FindValueOption(argument)) {
            if (argument[2] != '\0') {
                line.values.*(option->text) = argument + 2;
                ++index;
                continue;
            }
            if (index + 1 == argc) return UsageError(line, "missing value text after", argument);
            line.values.*(option->text) = argv[index + 1];
            index += 2;
            continue;
        }
        if (const TextOption* option = FindTextOption(argument)) {
            if (index + 1 == argc) return UsageError(line, option->missing, argument);
            line.*(option->text) = argv[index + 1];
            index += 2;
            continue;
        }
        if (const FlagOption* option = FindFlagOption(argument)) {
            if (option->action != CommandAction::kEvaluate) {
                line.action = option->action;
                return line;
            }
            if (option->setting != nullptr) {
                line.*(option->setting) = true;
            } else {
                line.form = option->form;
            }
            ++index;
            continue;
        }
        // The language has no "--" prefix, so such an argument is a mistyped option.
        if (argument[1] == '-') return UsageError(line, "unknown option", argument);
        break;
    }
    line.firstExpression = index;
    if (line.range != nullptr && line.table == nullptr) {
        return UsageError(line, "--range needs --table EXPRESSION, given only", line.range);
    }
    if (line.table != nullptr && index < argc) {
        return UsageError(line, "no expression argument goes with --table, given", argv[index]);
    }
    return line;
}

const char kUsageText[] =
    "Usage: quorvel-eval [--exact|--bits] [--explain] [-x X] [-y Y] [-z Z]\n"
    "                    [--] [EXPRESSION ...]\n"
    "       quorvel-eval [--exact|--bits] --table EXPRESSION [--range x=START:STOP:STEP]\n";

namespace {

constexpr char kOptionsText[] =
    "Evaluates one-line expressions in single precision and prints one line for\n"
    "each: the value with six decimals, or \"Quorvel解析错误!\" when it fails.\n"
    "Without EXPRESSION arguments it reads one expression per line from standard\n"
    "input; at a terminal with line editing and this session's history, the\n"
    "reason for each failure, and the words help, quit and exit.\n"
    "\n"
    "  -x X, -y Y, -z Z  the values of x, y and z (default 0.0; -x5 works too)\n"
    "  --exact      print the shortest text that reads back as the same value\n"
    "  --bits       print the value's 32-bit pattern (1 gives 0x3F800000)\n"
    "  --explain    say on standard error why an expression failed, as\n"
    "               quorvel-eval: 2:3: unknown name; did you mean PI\n"
    "               for the 2nd expression at its 3rd byte\n"
    "  --table EXPRESSION\n"
    "               evaluate EXPRESSION for each input line of up to three numbers\n"
    "               (x y z; missing ones are 0), one result per line:\n"
    "               seq 0 0.5 2 | quorvel-eval --table 'x*x+3*x-1'\n"
    "  --range x=START:STOP:STEP\n"
    "               with --table, print x and the result for x from START to STOP\n"
    "  -h, --help   show this help and exit\n"
    "  --version    show the version and exit\n"
    "  --           end of the options; put it before an expression like -x*2\n"
    "\n";

constexpr char kExitStatusText[] =
    "\n"
    "Exit status: 0 when every expression evaluated, 1 when any failed, 2 for a\n"
    "usage error, 3 when reading the input or writing the output failed.\n";

constexpr std::size_t kTermWidth = 12;
constexpr std::size_t kLineWidth = 78;

// "  TERM         TEXT", the text on a line of its own under a term too long for the column.
void AppendHelpTable(std::string& text, const HelpTable& table) {
    text.append(table.title[kHelpEnglish]).append(":\n");
    for (std::size_t i = 0; i < table.count; ++i) {
        const HelpRow& row = table.rows[i];
        const std::size_t length = std::strlen(row.term);
        text.append("  ").append(row.term);
        if (length < kTermWidth) {
            text.append(kTermWidth + 1 - length, ' ');
        } else {
            text.append("\n").append(kTermWidth + 3, ' ');
        }
        text.append(row.text[kHelpEnglish]).append("\n");
    }
}

// The signatures as a paragraph wrapped at the line width.
void AppendFunctions(std::string& text) {
    text.append(kFunctionsTitle[kHelpEnglish]).append(":\n");
    std::size_t column = 0;
    for (std::size_t i = 0; i < HelpFunctionCount(); ++i) {
        char signature[kSignatureCapacity];
        HelpFunctionSignature(i, signature);
        const std::size_t length = std::strlen(signature);
        if (column > 0 && column + 1 + length > kLineWidth) {
            text.append("\n");
            column = 0;
        }
        text.append(column == 0 ? "  " : " ").append(signature);
        column += (column == 0 ? 2 : 1) + length;
    }
    text.append("\n");
}

}  // namespace

std::string LanguageSummary() {
    std::string text;
    AppendHelpTable(text, kSyntaxHelp);
    text.append("\n");
    AppendFunctions(text);
    text.append("\n");
    AppendHelpTable(text, kSurpriseHelp);
    return text;
}

std::string HelpText() {
    return kUsageText + std::string(kOptionsText) + LanguageSummary() + kExitStatusText;
}

const char kVersionText[] = "quorvel-eval (Quorvel) " QUORVEL_VERSION "\n";
