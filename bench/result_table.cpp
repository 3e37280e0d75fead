#include "bench/result_table.h"

#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::array<Cell, 2> kPeers = {kFparserCell, kMuparserCell};

std::vector<double> CorpusColumn(const std::vector<RowTimes>& rows, Cell cell) {
    std::vector<double> column;
    for (const RowTimes& row : rows) {
        if (!row.worstCase) column.push_back(row.ns[cell]);
    }
    return column;
}

std::vector<double> CorpusRatios(const std::vector<RowTimes>& rows, Cell peer) {
    std::vector<double> ratios;
    for (const RowTimes& row : rows) {
        if (!row.worstCase) ratios.push_back(PeerRatio(row, peer));
    }
    return ratios;
}

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// A comparison with NaN is false, so a missing figure never meets a target.
Verdict MeanRatioVerdict(const std::vector<RowTimes>& rows, Cell peer, double least) {
    const double ratio = GeometricMean(CorpusRatios(rows, peer));
    return {std::string("EvaluateExpression geometric mean at most 1/") + Format("%.0f", least) +
                " of " + kCellNames[peer] + "'s",
            Format("%.2fx", ratio), ratio >= least};
}

Verdict EveryRowVerdict(const std::vector<RowTimes>& rows, Cell peer, double least) {
    const std::string factor = least > 1.0 ? "at least " + Format("%.0fx ", least) : "";
    const std::string target =
        "EvaluateExpression " + factor + "faster than " + kCellNames[peer] + " on every expression";
    const RowTimes* lowest = nullptr;
    for (const RowTimes& row : rows) {
        if (std::isnan(PeerRatio(row, peer))) return {target, "no figure for " + row.name, false};
        if (lowest == nullptr || PeerRatio(row, peer) < PeerRatio(*lowest, peer)) lowest = &row;
    }
    if (lowest == nullptr) return {target, "no figures", false};
    const double ratio = PeerRatio(*lowest, peer);
    return {target, "lowest " + Format("%.2fx", ratio) + " on " + lowest->name,
            ratio >= least && ratio > 1.0};
}

Verdict RequestVerdict(const std::vector<RowTimes>& rows) {
    const std::string target = std::string("EvaluationRequest on ") + kRequestRow + " at most " +
                               Format("%.0fx", kMostRequestRatio) + " EvaluateExpression";
    for (const RowTimes& row : rows) {
        if (row.name != kRequestRow) continue;
        const double ratio = row.ns[kRequestCell] / row.ns[kEvaluateCell];
        return {target, Format("%.2fx", ratio), ratio <= kMostRequestRatio};
    }
    return {target, "no such row", false};
}

Verdict WorstCaseVerdict(const RowTimes& row) {
    const double ns = row.ns[kEvaluateCell];
    return {row.name + " under 20 us", Format("%.0f ns", ns), ns < kWorstCaseNs};
}

}  // namespace

double GeometricMean(const std::vector<double>& values) {
    if (values.empty()) return kNaN;
    double logSum = 0.0;
    for (double value : values) {
        if (!(value > 0.0)) return kNaN;
        logSum += std::log(value);
    }
    return std::exp(logSum / static_cast<double>(values.size()));
}

double PeerRatio(const RowTimes& row, Cell peer) {
    return row.ns[peer] / row.ns[kEvaluateCell];
}

std::vector<Verdict> CheckTargets(const std::vector<RowTimes>& rows) {
    std::vector<Verdict> verdicts;
    verdicts.push_back(MeanRatioVerdict(rows, kFparserCell, kFparserMeanRatio));
    verdicts.push_back(MeanRatioVerdict(rows, kMuparserCell, kMuparserMeanRatio));
    verdicts.push_back(EveryRowVerdict(rows, kFparserCell, kFparserRowRatio));
    verdicts.push_back(EveryRowVerdict(rows, kMuparserCell, kMuparserRowRatio));
    verdicts.push_back(RequestVerdict(rows));
    for (const RowTimes& row : rows) {
        if (row.worstCase) verdicts.push_back(WorstCaseVerdict(row));
    }
    return verdicts;
}

void PrintTimesTable(std::FILE* out, const std::vector<RowTimes>& rows) {
    std::fprintf(out, "| Expression |");
    for (const char* name : kCellNames)
        std::fprintf(out, " %s ns |", name);
    for (Cell peer : kPeers)
        std::fprintf(out, " %s / Quorvel |", kCellNames[peer]);
    std::fprintf(out, "\n|---|");
    for (std::size_t i = 0; i < kCellNames.size() + kPeers.size(); ++i)
        std::fprintf(out, "--:|");
    std::fprintf(out, "\n");
    for (const RowTimes& row : rows) {
        std::fprintf(out, "| %s |", row.name.c_str());
        for (double ns : row.ns)
            std::fprintf(out, " %.1f |", ns);
        for (Cell peer : kPeers)
            std::fprintf(out, " %.2f |", PeerRatio(row, peer));
        std::fprintf(out, "\n");
    }
    std::fprintf(out, "| geometric mean (corpus without worst cases) |");
    for (int cell = 0; cell < kCellCount; ++cell) {
        std::fprintf(out, " %.1f |", GeometricMean(CorpusColumn(rows, static_cast<Cell>(cell))));
    }
    for (Cell peer : kPeers)
        std::fprintf(out, " %.2f |", GeometricMean(CorpusRatios(rows, peer)));
    std::fprintf(out, "\n");
}

void PrintVerdicts(std::FILE* out, const std::vector<Verdict>& verdicts) {
    for (const Verdict& verdict : verdicts) {
        std::fprintf(out, "%-8s %s: %s\n", verdict.met ? "[met]" : "[MISSED]",
                     verdict.target.c_str(), verdict.figure.c_str());
    }
}
