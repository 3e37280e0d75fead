#pragma once

#include <cstddef>

#include "engine/failure_report.h"

// Enough for the longest sentence with a name of 63 bytes shown as escapes.
inline constexpr std::size_t kFailureTooltipCapacity = 512;

// The Chinese sentence for a reason alone.
const char* ChineseReasonText(FailureReason reason);

// What the result field's tooltip and accessible description say while it shows the error text:
// the column in characters and the reason in Chinese, naming the fix where the expression shows
// one. UTF-8, cut to capacity at a character boundary.
void FailureTooltipText(const char* expression, const FailureReport& report, char* text,
                        std::size_t capacity);
