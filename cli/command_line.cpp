#include "cli/command_line.h"

#include <cstring>

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
    return line;
}

const char kUsageText[] =
    "Usage: quorvel-eval [--exact|--bits] [--explain] [-x X] [-y Y] [-z Z]\n"
    "                    [--] [EXPRESSION ...]\n";

const char kHelpText[] =
    "Usage: quorvel-eval [--exact|--bits] [--explain] [-x X] [-y Y] [-z Z]\n"
    "                    [--] [EXPRESSION ...]\n"
    "Evaluates one-line expressions in single precision and prints one line for\n"
    "each: the value with six decimals, or \"Quorvel解析错误!\" when it fails.\n"
    "Without EXPRESSION arguments it reads one expression per line from standard\n"
    "input; at a terminal with line editing and this session's history.\n"
    "\n"
    "  -x X, -y Y, -z Z  the values of x, y and z (default 0.0; -x5 works too)\n"
    "  --exact      print the shortest text that reads back as the same value\n"
    "  --bits       print the value's 32-bit pattern (1 gives 0x3F800000)\n"
    "  --explain    say on standard error why an expression failed, as\n"
    "               quorvel-eval: 2:3: unknown name; did you mean PI\n"
    "               for the 2nd expression at its 3rd byte\n"
    "  -h, --help   show this help and exit\n"
    "  --version    show the version and exit\n"
    "  --           end of the options; put it before an expression like -x*2\n"
    "\n"
    "The language (all of it in quorvel-eval(1)):\n"
    "  numbers    42  2.5  1.  1.5e3  2.5E-2  0x1F  0y101 (binary)  017 (octal 15)\n"
    "  operators  * / % ^ bind tighter than + -, each level left to right\n"
    "  sign       one + or - at the very start, on the first operand: -2^2 is 4\n"
    "  brackets   ( ) [ ] { }, each closed by its own kind\n"
    "  names      PI  E  x y z (the values)  a ... w (always 0); case matters\n"
    "  functions  (x): abs acos asin atan ceil cos exp floor log log10 log2\n"
    "               negative positive rand sign sin sqrt tan\n"
    "             (a, b): add sub multiply divide mod pow max min rand2 atan2(y, x)\n"
    "             (a, b, c): add3 min3 max3 average3 lerp(a, b, t) gray(r, g, b)\n"
    "               clamp(value, upper, lower)\n"
    "             (a, b, c, d): add4 min4 max4 average4\n"
    "  surprises  1e3 is an error (write 1.0e3); 2*-3 is an error (write 2*(-3));\n"
    "             ^ shares the level of *: 2*3^2 is 36, 2^3^2 is 64; 08 is an\n"
    "             error; -x 1,5 sets x to 1\n"
    "\n"
    "Exit status: 0 when every expression evaluated, 1 when any failed, 2 for a\n"
    "usage error, 3 when reading the input or writing the output failed.\n";

const char kVersionText[] = "quorvel-eval (Quorvel) " QUORVEL_VERSION "\n";
