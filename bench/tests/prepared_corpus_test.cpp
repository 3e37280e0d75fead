#include "bench/prepared_corpus.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

#include "bench/corpus.h"
#include "request/evaluation_request.h"

namespace {

// A floor that skipped or reordered an operation would time less work than the text asks for:
// each must give the bits that evaluating the text gives, on values that reach every branch.
TEST(PreparedCorpus, EveryFloorComputesWhatItsTextComputes) {
    const float xs[] = {-4.0f, -2.5f, -0.0f, 0.0f, 1e-3f, 0.75f, 2.0f, 3.999f, 1e6f, -3e38f};
    for (const PreparedEntry& entry : BuildPreparedCorpus()) {
        for (float x : xs) {
            for (float y : {kPreparedY, 5.0f}) {
                float floor = 0.0f;
                entry.floor(1, &x, &y, &floor);
                float text = 0.0f;
                ASSERT_TRUE(EvaluateWithValues(entry.text.c_str(), x, y, kPreparedZ, text))
                    << entry.text;
                EXPECT_EQ(std::bit_cast<std::uint32_t>(floor), std::bit_cast<std::uint32_t>(text))
                    << entry.id << " at x=" << x << " y=" << y;
            }
        }
    }
}

TEST(PreparedCorpus, GeneratedTextsHaveTheirSizesWithinTheGroupLimits) {
    EXPECT_EQ(BuildSumOfTerms().size(), 200u);
    const std::string nested = BuildNestedGroups();
    EXPECT_EQ(nested.size(), 1019u);
    EXPECT_EQ(BracketDepth(nested), 23);
    EXPECT_LE(LongestGroupText(nested), kLongestGroupText);
}

TEST(XColumn, SpreadsEvenlyFromMinusFour) {
    const std::vector<float> x = XColumn(8);
    EXPECT_EQ(x, (std::vector<float>{-4, -3, -2, -1, 0, 1, 2, 3}));
}

}  // namespace
