#pragma once

#include <array>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// The cells measured for every expression, in the order they run: the internal entry points, the
// shipped shared library's, then the peers.
enum Cell {
    kEvaluateCell,
    kRequestCell,
    kLibraryEvaluateCell,
    kLibraryDisplayCell,
    kFparserCell,
    kMuparserCell,
    kCellCount
};

inline constexpr std::array<const char*, kCellCount> kCellNames = {
    "EvaluateExpression", "EvaluationRequest", "quorvel_evaluate",
    "quorvel_display",    "fparser",           "muparser"};

struct RowTimes {
    std::string name;  // as the table shows it
    bool worstCase;
    std::array<double, kCellCount> ns;  // per evaluation; NaN for a cell that did not run
};

struct Verdict {
    std::string target;
    std::string figure;  // what was measured, as text
    bool met;
};

// Targets: how many times longer a peer takes than EvaluateExpression and than the shipped
// quorvel_evaluate, over the corpus's geometric mean and on every row; the text entry points'
// cost on one short row; the worst cases.
inline constexpr double kFparserMeanRatio = 3.0;
inline constexpr double kMuparserMeanRatio = 20.0;
inline constexpr double kFparserRowRatio = 2.0;
inline constexpr double kMuparserRowRatio = 1.0;
inline constexpr double kLibraryFparserMeanRatio = 4.0;
inline constexpr double kLibraryFparserRowRatio = 2.0;
inline constexpr const char* kRequestRow = "`1+2*3`";
inline constexpr double kMostRequestRatio = 2.0;
inline constexpr double kWorstCaseNs = 20000.0;

// A figure as the verdicts quote it: snprintf of one value.
std::string FormatFigure(const char* format, double value);

// NaN for an empty list or any value that is not positive.
double GeometricMean(const std::vector<double>& values);

// How many times longer the peer cell took than the base cell on the row.
double PeerRatio(const RowTimes& row, Cell peer, Cell base = kEvaluateCell);

std::vector<Verdict> CheckTargets(const std::vector<RowTimes>& rows);

// A Markdown table: ns per evaluation for each cell, the peer ratios, and the geometric means
// over the rows that are not worst cases.
void PrintTimesTable(std::FILE* out, const std::vector<RowTimes>& rows);

void PrintVerdicts(std::FILE* out, const std::vector<Verdict>& verdicts);
