#include "bench/prepared_table.h"

#include <cmath>

namespace {

enum class Rows { kAll, kOperators, kLibm };

// The cell must take less than most times the other cell's time on every row it concerns.
struct RatioTarget {
    PreparedCell cell;
    PreparedCell other;
    double most;
    Rows rows;
};

constexpr RatioTarget kTargets[] = {
    {kRunCell, kFparserOnceCell, 1.0, Rows::kAll},
    {kRunCell, kFparserOptimisedCell, 1.0, Rows::kAll},
    {kRunCell, kMuparserOnceCell, 1.0, Rows::kAll},
    {kRunManyCell, kFloorCell, kOperatorFloorRatio, Rows::kOperators},
    {kRunManyCell, kFloorCell, kLibmFloorRatio, Rows::kLibm},
    {kRunManyCell, kMuparserBulkCell, 1.0, Rows::kAll},
};

// The ratios the table shows: the first cell's time over the second's.
constexpr std::array<std::array<PreparedCell, 2>, 5> kShownRatios = {{
    {kFparserOnceCell, kRunCell},
    {kFparserOptimisedCell, kRunCell},
    {kMuparserOnceCell, kRunCell},
    {kRunManyCell, kFloorCell},
    {kMuparserBulkCell, kRunManyCell},
}};

bool Concerns(Rows rows, const PreparedRowTimes& row) {
    switch (rows) {
        case Rows::kOperators:
            return !row.libmBound;
        case Rows::kLibm:
            return row.libmBound;
        case Rows::kAll:
            break;
    }
    return true;
}

std::string TargetText(const RatioTarget& target) {
    const char* rows = target.rows == Rows::kOperators ? " on every operator row"
                       : target.rows == Rows::kLibm    ? " on every libm row"
                                                       : " on every row";
    const std::string relation = target.most == 1.0
                                     ? " faster than "
                                     : " within " + FormatFigure("%.3gx", target.most) + " of ";
    return std::string(kPreparedCellNames[target.cell]) + relation +
           kPreparedCellNames[target.other] + rows;
}

// A comparison with NaN is false, so a missing figure never meets a target.
Verdict JudgeTarget(const std::vector<PreparedRowTimes>& rows, const RatioTarget& target) {
    const std::string text = TargetText(target);
    const PreparedRowTimes* worst = nullptr;
    double worstRatio = 0.0;
    for (const PreparedRowTimes& row : rows) {
        if (!Concerns(target.rows, row)) continue;
        const double ratio = row.ns[target.cell] / row.ns[target.other];
        if (std::isnan(ratio)) return {text, "no figure for " + row.name, false};
        if (worst == nullptr || ratio > worstRatio) {
            worst = &row;
            worstRatio = ratio;
        }
    }
    if (worst == nullptr) return {text, "no rows", false};
    return {text, "highest " + FormatFigure("%.2fx", worstRatio) + " on " + worst->name,
            worstRatio < target.most};
}

}  // namespace

std::vector<Verdict> CheckPreparedTargets(const std::vector<PreparedRowTimes>& rows) {
    std::vector<Verdict> verdicts;
    for (const RatioTarget& target : kTargets)
        verdicts.push_back(JudgeTarget(rows, target));
    return verdicts;
}

void PrintPreparedTable(std::FILE* out, const std::vector<PreparedRowTimes>& rows) {
    std::fprintf(out, "| Expression |");
    for (const char* name : kPreparedCellNames)
        std::fprintf(out, " %s ns |", name);
    for (const auto& [over, under] : kShownRatios)
        std::fprintf(out, " %s / %s |", kPreparedCellNames[over], kPreparedCellNames[under]);
    std::fprintf(out, "\n|---|");
    for (std::size_t i = 0; i < kPreparedCellNames.size() + kShownRatios.size(); ++i)
        std::fprintf(out, "--:|");
    std::fprintf(out, "\n");
    for (const PreparedRowTimes& row : rows) {
        std::fprintf(out, "| %s%s |", row.name.c_str(), row.libmBound ? " (libm)" : "");
        for (double ns : row.ns)
            std::fprintf(out, " %.2f |", ns);
        for (const auto& [over, under] : kShownRatios)
            std::fprintf(out, " %.2f |", row.ns[over] / row.ns[under]);
        std::fprintf(out, "\n");
    }
}
