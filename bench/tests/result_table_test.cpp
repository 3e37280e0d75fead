#include "bench/result_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(GeometricMean, OfPositiveValuesOnly) {
    struct MeanCase {
        std::vector<double> values;
        double mean;  // NaN: no mean
    };
    const MeanCase cases[] = {
        {{2.0}, 2.0}, {{1.0, 4.0}, 2.0},  {{8.0, 1.0, 1.0}, 2.0}, {{0.5, 2.0}, 1.0},
        {{}, kNaN},   {{1.0, 0.0}, kNaN}, {{4.0, -1.0}, kNaN},    {{1.0, kNaN}, kNaN},
    };
    for (const MeanCase& testCase : cases) {
        SCOPED_TRACE(testCase.values.size());
        const double mean = GeometricMean(testCase.values);
        if (std::isnan(testCase.mean)) {
            EXPECT_TRUE(std::isnan(mean)) << mean;
        } else {
            EXPECT_NEAR(mean, testCase.mean, 1e-12);
        }
    }
}

RowTimes Row(const char* name, double evaluate, double fparser, double muparser,
             bool worstCase = false) {
    return {name, worstCase, {evaluate, evaluate * 3.0, fparser, muparser}};
}

// Verdicts in order: mean against fparser, mean against muparser, every row against fparser,
// every row against muparser, then one per worst case.
struct TargetCase {
    const char* name;
    std::vector<RowTimes> rows;
    std::vector<bool> met;
};

TEST(CheckTargets, JudgesEveryTargetFromTheFigures) {
    const TargetCase cases[] = {
        {"all met",
         {Row("a", 10, 30, 300), Row("b", 20, 40, 500), Row("worst", 5000, 9000, 90000, true)},
         {true, true, true, true, true}},
        {"mean under twice fparser",
         {Row("a", 10, 15, 300), Row("b", 10, 25, 300)},
         {false, true, true, true}},
        {"mean under twenty times muparser",
         {Row("a", 10, 30, 100), Row("b", 10, 30, 300)},
         {true, false, true, true}},
        {"one row slower than fparser",
         {Row("a", 10, 100, 300), Row("b", 10, 9, 300)},
         {true, true, false, true}},
        {"worst case rows stay out of the means but not out of every row",
         {Row("a", 10, 30, 300), Row("worst", 1000, 900, 90000, true)},
         {true, true, false, true, true}},
        {"worst case of 20 us misses",
         {Row("a", 10, 30, 300), Row("worst", 20000, 90000, 900000, true)},
         {true, true, true, true, false}},
        {"a cell that did not run misses",
         {Row("a", 10, 30, 300), Row("b", 10, kNaN, 300)},
         {false, true, false, true}},
    };
    for (const TargetCase& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        const std::vector<Verdict> verdicts = CheckTargets(testCase.rows);
        ASSERT_EQ(verdicts.size(), testCase.met.size());
        for (std::size_t i = 0; i < verdicts.size(); ++i) {
            EXPECT_EQ(verdicts[i].met, testCase.met[i]) << verdicts[i].target;
        }
    }
}

TEST(CheckTargets, NamesTheSlowestRow) {
    const std::vector<Verdict> verdicts =
        CheckTargets({Row("a", 10, 100, 300), Row("b", 10, 15, 300), Row("c", 10, 50, 300)});
    EXPECT_EQ(verdicts[2].figure, "lowest 1.50x on b");
}

TEST(PrintTimesTable, EndsWithTheMeansOverTheCorpus) {
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    PrintTimesTable(
        out, {Row("a", 10, 20, 400), Row("b", 40, 80, 1600), Row("worst", 1000, 1, 1, true)});
    std::rewind(out);
    std::string text;
    char chunk[256];
    while (std::fgets(chunk, sizeof chunk, out) != nullptr)
        text += chunk;
    std::fclose(out);
    EXPECT_NE(text.find("| a | 10.0 | 30.0 | 20.0 | 400.0 | 2.00 | 40.00 |\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("| geometric mean (corpus without worst cases) | 20.0 | 60.0 | 40.0 | "
                        "800.0 | 2.00 | 40.00 |\n"),
              std::string::npos)
        << text;
}

}  // namespace
