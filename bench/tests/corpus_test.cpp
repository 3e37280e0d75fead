#include "bench/corpus.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "request/evaluation_request.h"

namespace {

TEST(BuildFlatSum, FillsExactlyTheLengthWithASum) {
    struct SumCase {
        std::size_t length;
        const char* text;
    };
    const SumCase cases[] = {
        {1, "1"},
        {2, "11"},
        {3, "1+2"},
        {4, "1+11"},
        {5, "1+2+3"},
        {6, "1+2+11"},
        {7, "1+2+3+4"},
        {20, "1+2+3+4+5+6+7+8+9+10"},
        {19, "1+2+3+4+5+6+7+8+9+1"},
    };
    for (const SumCase& testCase : cases) {
        EXPECT_EQ(BuildFlatSum(testCase.length), testCase.text);
    }
}

TEST(BuildFlatSum, TwoHundredBytesAreTheTermsOneToSeventy) {
    std::string expected = "1";
    for (int term = 2; term <= 70; ++term) {
        expected += '+';
        expected += std::to_string(term);
    }
    EXPECT_EQ(BuildFlatSum(200), expected);
}

TEST(BuildNestedCalls, ReachesTheLimitsWithoutPassingThem) {
    struct NestedCase {
        std::size_t length;
        int depth;
    };
    const NestedCase cases[] = {{1023, 32}, {1023, 33}, {1000, 32}, {600, 10}, {257, 32}};
    for (const NestedCase& testCase : cases) {
        SCOPED_TRACE(testCase.length * 100 + testCase.depth);
        const std::string text = BuildNestedCalls(testCase.length, testCase.depth);
        EXPECT_EQ(text.size(), testCase.length);
        EXPECT_EQ(BracketDepth(text), testCase.depth);
        EXPECT_LE(LongestGroupText(text), kLongestGroupText);
    }
    // Four top-level groups of 255 bytes: each holds as much text as a group may.
    EXPECT_EQ(LongestGroupText(BuildNestedCalls(1023, 32)), kLongestGroupText - 2);
}

// The engine's own limits decide: 32 levels evaluate and a 33rd fails.
TEST(BuildNestedCalls, ThirtyTwoLevelsAreTheDeepestTheEngineTakes) {
    struct DepthCase {
        int depth;
        bool evaluates;
    };
    for (const DepthCase& testCase : {DepthCase{31, true}, {32, true}, {33, false}}) {
        SCOPED_TRACE(testCase.depth);
        float value = 0.0f;
        EXPECT_EQ(EvaluateWithValues(BuildNestedCalls(1023, testCase.depth).c_str(), kXText, kYText,
                                     kZText, value),
                  testCase.evaluates);
    }
}

TEST(BracketAnalysis, MeasuresDepthAndGroupText) {
    struct BracketCase {
        const char* text;
        int depth;
        std::size_t longestGroup;
    };
    const BracketCase cases[] = {
        {"", 0, 0},          {"1+2", 0, 0},      {"(1)", 1, 1},
        {"((1)+[2])", 2, 7}, {"{1}*(22)", 1, 2}, {"max(x,(y))", 2, 5},
    };
    for (const BracketCase& testCase : cases) {
        SCOPED_TRACE(testCase.text);
        EXPECT_EQ(BracketDepth(testCase.text), testCase.depth);
        EXPECT_EQ(LongestGroupText(testCase.text), testCase.longestGroup);
    }
}

// The corpus texts are the ones the table names, and Quorvel reads each as intended.
TEST(BuildCorpus, EveryExpressionEvaluatesToItsValue) {
    struct ValueCase {
        const char* id;
        double value;
        double tolerance;
    };
    const ValueCase cases[] = {
        {"1+2*3", 7.0, 0.0},
        {"(1+2)*3-4/5", 8.2, 1e-6},
        {"x*2+y*3-z", 8.5, 0.0},
        {"sin(x)*cos(y)+sqrt(2)", 0.9991095, 1e-6},
        {"max(x,y)+min(1,2)*3", 5.0, 0.0},
        {"((((x+1)*2)+3)*4)", 32.0, 0.0},
        {"1.5e3+31", 1531.0, 0.0},
        {"sum200", 2485.0, 0.0},
        {"x^2+y^2-2*x*y", 0.25, 0.0},
        {"1+(2*(3-(4*(5+(6*(7-(8*(x+y))))))))", 975.0, 0.0},
        {"flat1023", 40186.0, 0.0},
    };
    const std::vector<CorpusEntry> corpus = BuildCorpus();
    ASSERT_EQ(corpus.size(), std::size(cases) + 1);
    for (const CorpusEntry& entry : corpus) {
        SCOPED_TRACE(entry.id);
        float value = 0.0f;
        ASSERT_TRUE(EvaluateWithValues(entry.text.c_str(), kXText, kYText, kZText, value));
        EXPECT_TRUE(std::isfinite(value));
        EXPECT_EQ(entry.worstCase, entry.text.size() == kLongestExpression);
        for (const ValueCase& testCase : cases) {
            if (entry.id == testCase.id) {
                EXPECT_NEAR(value, testCase.value, testCase.tolerance);
            }
        }
    }
}

}  // namespace
