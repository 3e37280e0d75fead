#include "bench/result_table.h"

#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
struct RatioColumn {
    Cell peer;
    Cell base;
};

constexpr RatioColumn kRatioColumns[] = {
    {kFparserCell, kEvaluateCell},
    {kMuparserCell, kEvaluateCell},
    {kFparserCell, kLibraryEvaluateCell},
};

std::vector<double> CorpusColumn(const std::vector<RowTimes>& rows, Cell cell) {
    std::vector<double> column;
    for (const RowTimes& row : rows) {
        if (!row.worstCase) column.push_back(row.ns[cell]);
    }
    return column;
}

std::vector<double> CorpusRatios(const std::vector<RowTimes>& rows, Cell peer, Cell base) {
    std::vector<double> ratios;
    for (const RowTimes& row : rows) {
        if (!row.worstCase) ratios.push_back(PeerRatio(row, peer, base));
    }
    return ratios;
}

// A comparison with NaN is false, so a missing figure never meets a target.
Verdict MeanRatioVerdict(const std::vector<RowTimes>& rows, Cell peer, Cell base, double least) {
    const double ratio = GeometricMean(CorpusRatios(rows, peer, base));
    return {std::string(kCellNames[base]) + " geometric mean at most 1/" +
                FormatFigure("%.0f", least) + " of " + kCellNames[peer] + "'s",
            FormatFigure("%.2fx", ratio), ratio >= least};
}

Verdict EveryRowVerdict(const std::vector<RowTimes>& rows, Cell peer, Cell base, double least) {
    const std::string factor = least > 1.0 ? "at least " + FormatFigure("%.0fx ", least) : "";
    const std::string target = std::string(kCellNames[base]) + " " + factor + "faster than " +
                               kCellNames[peer] + " on every expression";
    const RowTimes* lowest = nullptr;
    for (const RowTimes& row : rows) {
        const double ratio = PeerRatio(row, peer, base);
        if (std::isnan(ratio)) return {target, "no figure for " + row.name, false};
        if (lowest == nullptr || ratio < PeerRatio(*lowest, peer, base)) lowest = &row;
    }
    if (lowest == nullptr) return {target, "no figures", false};
    const double ratio = PeerRatio(*lowest, peer, base);
    return {target, "lowest " + FormatFigure("%.2fx", ratio) + " on " + lowest->name,
            ratio >= least && ratio > 1.0};
}

// The cell that starts from the texts of the fields against the one that takes values.
Verdict TextCostVerdict(const std::vector<RowTimes>& rows, Cell cell, Cell base) {
    const std::string target = std::string(kCellNames[cell]) + " on " + kRequestRow + " at most " +
                               FormatFigure("%.0fx ", kMostRequestRatio) + kCellNames[base];
    for (const RowTimes& row : rows) {
        if (row.name != kRequestRow) continue;
        const double ratio = PeerRatio(row, cell, base);
        return {target, FormatFigure("%.2fx", ratio), ratio <= kMostRequestRatio};
    }
    return {target, "no such row", false};
}

Verdict WorstCaseVerdict(const RowTimes& row) {
    const double ns = row.ns[kEvaluateCell];
    return {row.name + " under 20 us", FormatFigure("%.0f ns", ns), ns < kWorstCaseNs};
}

}  // namespace

std::string FormatFigure(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

double GeometricMean(const std::vector<double>& values) {
    if (values.empty()) return kNaN;
    double logSum = 0.0;
    for (double value : values) {
        if (!(value > 0.0)) return kNaN;
        logSum += std::log(value);
    }
    return std::exp(logSum / static_cast<double>(values.size()));
}

double PeerRatio(const RowTimes& row, Cell peer, Cell base) {
    return row.ns[peer] / row.ns[base];
}

std::vector<Verdict> CheckTargets(const std::vector<RowTimes>& rows) {
    std::vector<Verdict> verdicts;
    verdicts.push_back(MeanRatioVerdict(rows, kFparserCell, kEvaluateCell, kFparserMeanRatio));
    verdicts.push_back(MeanRatioVerdict(rows, kMuparserCell, kEvaluateCell, kMuparserMeanRatio));
    verdicts.push_back(EveryRowVerdict(rows, kFparserCell, kEvaluateCell, kFparserRowRatio));
    verdicts.push_back(EveryRowVerdict(rows, kMuparserCell, kEvaluateCell, kMuparserRowRatio));
    verdicts.push_back(TextCostVerdict(rows, kRequestCell, kEvaluateCell));
    verdicts.push_back(
        MeanRatioVerdict(rows, kFparserCell, kLibraryEvaluateCell, kLibraryFparserMeanRatio));
    verdicts.push_back(
        EveryRowVerdict(rows, kFparserCell, kLibraryEvaluateCell, kLibraryFparserRowRatio));
    verdicts.push_back(TextCostVerdict(rows, kLibraryDisplayCell, kLibraryEvaluateCell));
    for (const RowTimes& row : rows) {
        if (row.worstCase) verdicts.push_back(WorstCaseVerdict(row));
    }
    return verdicts;
}

void PrintTimesTable(std::FILE* out, const std::vector<RowTimes>& rows) {
    std::fprintf(out, "| Expression |");
    for (const char* name : kCellNames)
        std::fprintf(out, " %s ns |", name);
    for (const RatioColumn& column : kRatioColumns)
        std::fprintf(out, " %s / %s |", kCellNames[column.peer], kCellNames[column.base]);
    std::fprintf(out, "\n|---|");
    for (std::size_t i = 0; i < kCellNames.size() + std::size(kRatioColumns); ++i)
        std::fprintf(out, "--:|");
    std::fprintf(out, "\n");
    for (const RowTimes& row : rows) {
        std::fprintf(out, "| %s |", row.name.c_str());
        for (double ns : row.ns)
            std::fprintf(out, " %.1f |", ns);
        for (const RatioColumn& column : kRatioColumns)
            std::fprintf(out, " %.2f |", PeerRatio(row, column.peer, column.base));
        std::fprintf(out, "\n");
    }
    std::fprintf(out, "| geometric mean (corpus without worst cases) |");
    for (int cell = 0; cell < kCellCount; ++cell) {
        std::fprintf(out, " %.1f |", GeometricMean(CorpusColumn(rows, static_cast<Cell>(cell))));
    }
    for (const RatioColumn& column : kRatioColumns)
        std::fprintf(out, " %.2f |", GeometricMean(CorpusRatios(rows, column.peer, column.base)));
    std::fprintf(out, "\n");
}

void PrintVerdicts(std::FILE* out, const std::vector<Verdict>& verdicts) {
    for (const Verdict& verdict : verdicts) {
        std::fprintf(out, "%-8s %s: %s\n", verdict.met ? "[met]" : "[MISSED]",
                     verdict.target.c_str(), verdict.figure.c_str());
    }
}
