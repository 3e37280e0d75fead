#pragma once

#include <cstddef>

// The short summary of the expression language that the window's help and quorvel-eval show,
// each text in both interface languages.

enum HelpLanguage : int { kHelpChinese = 0, kHelpEnglish = 1 };

// A term of the language ("1.5e3", "* / % ^") and what it means in each language.
struct HelpRow {
    const char* term;
    const char* text[2];
};

struct HelpTable {
    const char* title[2];
    const HelpRow* rows;
    std::size_t count;
};

// The numbers, operators and their precedence, sign, brackets and names.
extern const HelpTable kSyntaxHelp;
// What trips people up, each with the text that works instead.
extern const HelpTable kSurpriseHelp;

// The title of the list of functions.
extern const char* const kFunctionsTitle[2];

inline constexpr std::size_t kSignatureCapacity = 48;

// How many functions an expression can call.
std::size_t HelpFunctionCount();

// The index-th of them with its arguments in order, as "atan2(y, x)", in the order the engine
// registers them; returns how many arguments it takes.
int HelpFunctionSignature(std::size_t index, char (&signature)[kSignatureCapacity]);
