#pragma once

#include "engine/failure_report.h"
#include "engine/lexical_rules.h"

// What a failure's message can point the user to, read from the failed expression at the
// reported column. Only names, literals and brackets, so that every language's texts share it.
struct FailureHint {
    char token[kTokenCapacity];  // the name or number at the column, "" when none stands there
    // What to write instead, "" when nothing fits: for an unknown name the known name that
    // differs only by case; for a scientific number the same digits with a point; for an octal
    // number with 8 or 9 the digits without the leading zeros; for a bracket the closer that
    // fits.
    char fix[2 * kTokenCapacity];
    // The function the failure concerns: the report's row, or for a comma where an operator
    // belongs, the function whose brackets hold it. Null when there is none.
    const SymbolDescriptor* function;
    int arguments;       // how many arguments that function takes, 0 for an array function
    bool atEnd;          // the column stands one past the last byte
    bool openerAhead;    // an opening bracket stands at the column
    bool closesNothing;  // a closer stands at the column and no bracket is open before it
    bool hasTab;         // the token holds a tab, which is no white space in expressions
};

FailureHint HintFor(const char* expression, const FailureReport& report);
