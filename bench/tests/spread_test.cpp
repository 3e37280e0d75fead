#include "bench/spread.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct SpreadCase {
    std::vector<double> values;
    double min, median, max;
};

TEST(Spread, GivesSmallestMiddleAndLargest) {
    const SpreadCase cases[] = {
        {{3.0}, 3.0, 3.0, 3.0},
        {{3.0, 1.0, 2.0}, 1.0, 2.0, 3.0},
        {{4.0, 1.0, 3.0, 2.0}, 1.0, 2.5, 4.0},
        {{9.0, 9.0, 1.0, 9.0, 5.0}, 1.0, 9.0, 9.0},
    };
    for (const SpreadCase& testCase : cases) {
        SCOPED_TRACE(testCase.values.size());
        const Spread spread = SpreadOf(testCase.values);
        EXPECT_EQ(spread.min, testCase.min);
        EXPECT_EQ(spread.median, testCase.median);
        EXPECT_EQ(spread.max, testCase.max);
    }
}

TEST(Spread, OfNothingIsNotANumber) {
    const Spread spread = SpreadOf({});
    EXPECT_TRUE(std::isnan(spread.min) && std::isnan(spread.median) && std::isnan(spread.max));
}

}  // namespace
