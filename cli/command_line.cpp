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
    CommandAction action;  // kEvaluate: the flag only switches to exact output
};

constexpr FlagOption kFlagOptions[] = {
    {"--exact", CommandAction::kEvaluate},
    {"--help", CommandAction::kHelp},
    {"--version", CommandAction::kVersion},
};

const ValueOption* FindValueOption(const char* argument) {
    for (const ValueOption& option : kValueOptions) {
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
            line.exact = true;
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
    "Usage: quorvel-eval [--exact] [-x TEXT] [-y TEXT] [-z TEXT] [--] [EXPRESSION ...]\n";

const char kHelpText[] =
    "Usage: quorvel-eval [--exact] [-x TEXT] [-y TEXT] [-z TEXT] [--] [EXPRESSION ...]\n"
    "Evaluates one-line expressions in single precision and prints one line for each:\n"
    "the value with six decimals, or \"Quorvel解析错误!\" when it cannot be evaluated.\n"
    "Without EXPRESSION arguments it reads one expression per line from standard input.\n"
    "\n"
    "  -x TEXT, -y TEXT, -z TEXT  values of the variables x, y and z (default 0.0)\n"
    "  --exact    print the shortest text that reads back as the same single-precision\n"
    "             value instead of six decimals\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "  --         end of the options\n"
    "\n"
    "Options are read up to the first expression. An argument that starts with a single\n"
    "'-' and is no option is an expression, such as -2^2; put \"--\" before an expression\n"
    "that is exactly -x, -y or -z or that starts with \"--\".\n"
    "\n"
    "Exit status: 0 when every expression evaluated, 1 when any failed, 2 for a usage\n"
    "error, 3 when reading the input or writing the output failed.\n";

const char kVersionText[] = "quorvel-eval (Quorvel) " QUORVEL_VERSION "\n";
