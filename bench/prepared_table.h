#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/result_table.h"

// The second table: one expression prepared once and evaluated over a column of values, by
// Quorvel's prepared program one row at a time and all rows at once, by the peers in their
// parsed-once forms, and by the floor loop.

enum PreparedCell {
    kRunCell,
    kRunManyCell,
    kFparserOnceCell,
    kFparserOptimisedCell,
    kMuparserOnceCell,
    kMuparserBulkCell,
    kFloorCell,
    kPreparedCellCount
};

inline constexpr std::array<const char*, kPreparedCellCount> kPreparedCellNames = {
    "quorvel_run", "quorvel_run_many", "fparser", "fparser optimised",
    "muparser",    "muparser bulk",    "floor"};

struct PreparedRowTimes {
    std::string name;
    bool libmBound;                             // the floor spends most of its time in libm
    std::array<double, kPreparedCellCount> ns;  // per evaluation; NaN for a cell that did not run
};

// How many times the floor's time quorvel_run_many may take.
inline constexpr double kOperatorFloorRatio = 2.0;
inline constexpr double kLibmFloorRatio = 1.25;

std::vector<Verdict> CheckPreparedTargets(const std::vector<PreparedRowTimes>& rows);

// A Markdown table: ns per evaluation for each cell and the ratios the targets judge.
void PrintPreparedTable(std::FILE* out, const std::vector<PreparedRowTimes>& rows);
