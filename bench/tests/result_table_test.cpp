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

// The shipped library's cells default to the internal evaluation's time, and its display to
// one and a half times that.
RowTimes Row(const char* name, double evaluate, double fparser, double muparser,
             bool worstCase = false, double request = 1.5, double library = 0.0,
             double display = 0.0) {
    if (library == 0.0) library = evaluate;
    if (display == 0.0) display = library * 1.5;
    return {name, worstCase, {evaluate, evaluate * request, library, display, fparser, muparser}};
}

// Verdicts in order: mean against fparser, mean against muparser, every row against fparser,
// every row against muparser, the request on its row; quorvel_evaluate's mean and every row
// against fparser, quorvel_display on the request's row; then one per worst case.
struct TargetCase {
    const char* name;
    std::vector<RowTimes> rows;
    std::vector<bool> met;
};

TEST(CheckTargets, JudgesEveryTargetFromTheFigures) {
    const TargetCase cases[] = {
        {"all met",
         {Row(kRequestRow, 10, 50, 300), Row("b", 20, 80, 500),
          Row("worst", 5000, 10000, 90000, true)},
         {true, true, true, true, true, true, true, true, true}},
        {"mean under three times fparser",
         {Row(kRequestRow, 10, 25, 300), Row("b", 10, 30, 300)},
         {false, true, true, true, true, false, true, true}},
        {"mean under twenty times muparser",
         {Row(kRequestRow, 10, 40, 100), Row("b", 10, 40, 300)},
         {true, false, true, true, true, true, true, true}},
        {"one row under twice fparser",
         {Row(kRequestRow, 10, 100, 300), Row("b", 10, 19, 300)},
         {true, true, false, true, true, true, false, true}},
        {"one row slower than muparser",
         {Row(kRequestRow, 10, 40, 30000), Row("b", 10, 40, 9)},
         {true, true, true, false, true, true, true, true}},
        {"the request over twice the evaluation",
         {Row(kRequestRow, 10, 40, 300, false, 2.1), Row("b", 10, 40, 300)},
         {true, true, true, true, false, true, true, true}},
        {"no row for the request",
         {Row("a", 10, 40, 300), Row("b", 10, 40, 300)},
         {true, true, true, true, false, true, true, false}},
        {"worst case rows stay out of the means but not out of every row",
         {Row(kRequestRow, 10, 40, 300), Row("worst", 1000, 900, 90000, true)},
         {true, true, false, true, true, true, false, true, true}},
        {"worst case of 20 us misses",
         {Row(kRequestRow, 10, 40, 300), Row("worst", 20000, 90000, 900000, true)},
         {true, true, true, true, true, true, true, true, false}},
        {"a cell that did not run misses",
         {Row(kRequestRow, 10, 40, 300), Row("b", 10, kNaN, 300)},
         {false, true, false, true, true, false, false, true}},
        {"the shipped library under four times fparser on the mean",
         {Row(kRequestRow, 10, 50, 300, false, 1.5, 15), Row("b", 10, 50, 300, false, 1.5, 15)},
         {true, true, true, true, true, false, true, true}},
        {"quorvel_display over twice quorvel_evaluate",
         {Row(kRequestRow, 10, 50, 300, false, 1.5, 10, 25), Row("b", 10, 50, 300)},
         {true, true, true, true, true, true, true, false}},
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
    PrintTimesTable(out, {Row("a", 10, 20, 400, false, 3.0), Row("b", 40, 80, 1600, false, 3.0),
                          Row("worst", 1000, 1, 1, true)});
    std::rewind(out);
    std::string text;
    char chunk[256];
    while (std::fgets(chunk, sizeof chunk, out) != nullptr)
        text += chunk;
    std::fclose(out);
    EXPECT_NE(text.find("| a | 10.0 | 30.0 | 10.0 | 15.0 | 20.0 | 400.0 | 2.00 | 40.00 | 2.00 |\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("| geometric mean (corpus without worst cases) | 20.0 | 60.0 | 20.0 | "
                        "30.0 | 40.0 | 800.0 | 2.00 | 40.00 | 2.00 |\n"),
              std::string::npos)
        << text;
}

}  // namespace
