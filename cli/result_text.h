#pragma once

#include <cstddef>

#include "cli/command_line.h"
#include "request/evaluation_request.h"

// The longest text ValueText writes, its NUL included.
inline constexpr std::size_t kValueTextCapacity = kFixedTextCapacity;

// The value in the chosen form, NUL-terminated, into kValueTextCapacity bytes; returns its length.
std::size_t ValueText(float value, ResultForm form, char* text);

// The line printed for one expression in the chosen form, or the error text. Returns whether
// the expression evaluated; a report, when given, receives why it did not.
bool ResultText(const char* expression, const VariableValues& values, ResultForm form,
                DisplayText& result, FailureReport* report = nullptr);
