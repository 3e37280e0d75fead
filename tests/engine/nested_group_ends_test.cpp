// Groups opened inside another group: every one of them must end, fail or be refused exactly
// where a fresh scan of its own text would, whatever kind, depth or argument position it has.
#include <gtest/gtest.h>

#include <string>

#include "request/evaluation_request.h"
#include "tests/support/case_names.h"
#include "tests/support/expression_builders.h"

namespace {

struct NestedRow {
    const char* what;
    std::string text;
    bool succeeds;
    float value;
};

const NestedRow kNestedRows[] = {
    {"two groups side by side", "((1+2)*(3+4))", true, 21.0f},
    {"all three kinds", "[(1+2)*{3}]-(4)", true, 5.0f},
    {"groups after groups", "((1)+(2))*((3))", true, 9.0f},
    {"power of nested groups", "(((2)^((3))))", true, 8.0f},
    {"variables in groups of every kind", "(((x))*[[y]])+{{z}}", true, 3.5f},
    {"call inside a call inside a group", "(abs((abs(-2))))", true, 2.0f},
    {"space before the call bracket", "(sin (0))", true, 0.0f},
    {"group as a non-final argument", "(max((1),2))", true, 2.0f},
    {"group as the last argument", "(max(1,(2)))", true, 2.0f},
    {"call as the last argument", "(max(3,min(1,2)))", true, 3.0f},
    {"call as a non-final argument", "(max(min(1,2),3))", false, 0.0f},
    {"last argument after a closed first one", "(max (1)(2))", false, 0.0f},
    {"wrong closer deep inside", "((1]+(2))", false, 0.0f},
    {"crossed kinds", "({1)}", false, 0.0f},
    {"inner group never closed", "((1)", false, 0.0f},
    {"groups side by side without operator", "((2)(3))", false, 0.0f},
    {"inner group ending at the 255th byte", "((" + FlatSum(253) + "))", true, 127.0f},
    {"inner group one byte too long", "((" + FlatSum(253) + " ))", false, 0.0f},
    {"call at the deepest level", "[" + Repeat("(", 30) + "max(1,2)" + Repeat(")", 30) + "]", true,
     2.0f},
    {"call one level too deep", "[" + Repeat("(", 31) + "max(1,2)" + Repeat(")", 31) + "]", false,
     0.0f},
    {"alternating groups and calls", Repeat("(abs(", 15) + "-1" + Repeat("))", 15), true, 1.0f},
};

void PrintTo(const NestedRow& row, std::ostream* out) {
    *out << row.what;
}

class NestedGroupEnds : public testing::TestWithParam<NestedRow> {};

TEST_P(NestedGroupEnds, AreWhereTheirOwnScanPutsThem) {
    const NestedRow& row = GetParam();
    float value = -1.0f;
    EXPECT_EQ(EvaluateWithValues(row.text.c_str(), "1.5", "2", "0.5", value), row.succeeds)
        << row.what;
    EXPECT_EQ(value, row.value) << row.what;
}

INSTANTIATE_TEST_SUITE_P(Groups, NestedGroupEnds, testing::ValuesIn(kNestedRows),
                         [](const auto& info) { return CaseName(info.param.what, info.index); });

// A failure deep inside leaves nothing behind for the next evaluation of the same buffer.
TEST(NestedGroupEnds, FailureInsideLeavesNoTraceForTheNextText) {
    float value = 0.0f;
    EXPECT_FALSE(EvaluateWithValues("((1)+(2]))", "0", "0", "0", value));
    EXPECT_TRUE(EvaluateWithValues("((1)+(2))", "0", "0", "0", value));
    EXPECT_EQ(value, 3.0f);
}

}  // namespace
