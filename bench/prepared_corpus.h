#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The expressions timed in their prepared form over columns of values, each with its floor: a
// loop written here that does the same single-precision operations with the same rounding and
// the same libm calls, the least time any evaluator of the text could take.

using FloorLoop = void (*)(std::size_t rows, const float* x, const float* y, float* results);

struct PreparedEntry {
    std::string id;     // short, used in benchmark names
    std::string title;  // as the table shows it
    std::string text;
    bool libmBound;  // libm's sin, cos or pow takes most of the floor's time
    FloorLoop floor;
};

// z is this constant in every row; y is a column of its own.
inline constexpr float kPreparedY = 2.0f;
inline constexpr float kPreparedZ = 0.5f;

// "x*1+x*2+...+x*42": exactly 200 bytes.
std::string BuildSumOfTerms();
// Four groups "(...(x*0.5+k)*0.5+k...)" for k = 1 to 4, 31 deep, joined by "+": 999 bytes.
std::string BuildNestedGroups();

std::vector<PreparedEntry> BuildPreparedCorpus();

// x over [-4, 4) in even steps.
std::vector<float> XColumn(std::size_t rows);
