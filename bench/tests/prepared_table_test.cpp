#include "bench/prepared_table.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// run, run_many, fparser, fparser optimised, muparser, muparser bulk, floor.
PreparedRowTimes Row(const char* name, bool libm, std::array<double, kPreparedCellCount> ns) {
    return {name, libm, ns};
}

// Verdicts in order: run against fparser, fparser optimised and muparser; run_many against the
// floor on operator rows and on libm rows; run_many against muparser bulk.
TEST(CheckPreparedTargets, JudgesEachTargetOnItsRows) {
    const PreparedRowTimes good = Row("ops", false, {5, 2, 10, 8, 9, 4, 1.5});
    const PreparedRowTimes libm = Row("sin", true, {20, 12, 30, 28, 29, 25, 10});
    struct Case {
        const char* name;
        std::vector<PreparedRowTimes> rows;
        std::vector<bool> met;
    };
    const Case cases[] = {
        {"all met", {good, libm}, {true, true, true, true, true, true}},
        {"run slower than the optimised fparser",
         {good, Row("b", false, {9, 2, 10, 8, 10, 4, 1.5}), libm},
         {true, false, true, true, true, true}},
        {"run_many at twice the floor on an operator row",
         {Row("b", false, {5, 3, 10, 8, 9, 4, 1.5}), libm},
         {true, true, true, false, true, true}},
        // 1.3x the floor misses on a libm row though it would pass on an operator row.
        {"run_many at 1.3x the floor on a libm row",
         {good, Row("b", true, {20, 13, 30, 28, 29, 25, 10})},
         {true, true, true, true, false, true}},
        {"no libm row", {good}, {true, true, true, true, false, true}},
        {"run_many slower than muparser bulk",
         {good, Row("b", true, {20, 12, 30, 28, 29, 11, 10})},
         {true, true, true, true, true, false}},
        {"a cell that did not run",
         {Row("b", false, {5, 2, kNaN, 8, 9, 4, 1.5}), libm},
         {false, true, true, true, true, true}},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        const std::vector<Verdict> verdicts = CheckPreparedTargets(testCase.rows);
        ASSERT_EQ(verdicts.size(), testCase.met.size());
        for (std::size_t i = 0; i < verdicts.size(); ++i)
            EXPECT_EQ(verdicts[i].met, testCase.met[i]) << verdicts[i].target;
    }
}

TEST(CheckPreparedTargets, NamesTheRowFurthestFromTheFloor) {
    const std::vector<Verdict> verdicts = CheckPreparedTargets(
        {Row("a", false, {5, 2, 10, 8, 9, 4, 1.5}), Row("b", false, {5, 2.7, 10, 8, 9, 4, 1.5})});
    EXPECT_EQ(verdicts[3].figure, "highest 1.80x on b");
}

}  // namespace
