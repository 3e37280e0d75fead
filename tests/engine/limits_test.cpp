// The fixed buffers: each limit is exercised at its last accepted size and one past it.
#include <gtest/gtest.h>

#include <string>

#include "engine/evaluator.h"
#include "request/evaluation_request.h"
#include "tests/support/case_names.h"
#include "tests/support/expression_builders.h"

namespace {

// Every variable 0.
constexpr VariableBank kNoVariables{};

struct LimitRow {
    const char* what;
    std::string text;
    bool succeeds;
    float value;
};

const LimitRow kLimitRows[] = {
    {"63-character name is read whole", "a" + std::string(62, 'b'), false, 0.0f},
    {"63-character token is one integer", std::string(62, '0') + "7", true, 7.0f},
    {"64-character token is cut", std::string(63, '0') + "7", false, 0.0f},
    {"63-character decimal", "1." + std::string(61, '5'), true, 1.55555558f},
    {"64-character decimal", "1." + std::string(62, '5'), false, 0.0f},
    {"255-character group", "(" + FlatSum(255) + ")", true, 128.0f},
    {"256-character group", "(" + FlatSum(255) + " )", false, 0.0f},
    {"255-character argument", "max(" + FlatSum(255) + ",1)", true, 128.0f},
    {"256-character argument", "max(" + FlatSum(255) + " ,1)", false, 0.0f},
    {"255-character last argument", "max(1," + FlatSum(255) + ")", true, 128.0f},
    {"32 brackets deep", Nested(32, "5"), true, 5.0f},
    {"33 brackets deep", Nested(33, "5"), false, 0.0f},
    {"40 flat groups in one group", "(" + Repeat("(1)+", 39) + "(1))", true, 40.0f},
    {"32 deep counting the call's", "abs" + Nested(32, "-5"), true, 5.0f},
    {"33 deep counting the call's", "abs" + Nested(33, "-5"), false, 0.0f},
    {"mixed kinds at the limit", "[" + Nested(30, "{2}") + "]", true, 2.0f},
};

void PrintTo(const LimitRow& row, std::ostream* out) {
    *out << row.what;
}

class Limits : public testing::TestWithParam<LimitRow> {};

TEST_P(Limits, HoldAtTheEdge) {
    const LimitRow& row = GetParam();
    float value = -1.0f;
    EXPECT_EQ(EvaluateExpression(row.text.c_str(), value, kNoVariables, nullptr), row.succeeds)
        << row.what;
    EXPECT_EQ(value, row.value) << row.what;
}

INSTANTIATE_TEST_SUITE_P(Buffers, Limits, testing::ValuesIn(kLimitRows),
                         [](const auto& info) { return CaseName(info.param.what, info.index); });

TEST(RequestLimits, ExpressionOf1023BytesIsEvaluatedAnd1024Refused) {
    const std::string fits = FlatSum(1023);
    ASSERT_EQ(fits.size(), 1023u);
    EXPECT_STREQ(EvaluationRequest(fits.c_str(), "0.0", "0.0", "0.0").text, "512.000000");
    const std::string spaced = fits + " ";
    EXPECT_STREQ(EvaluationRequest(spaced.c_str(), "0.0", "0.0", "0.0").text, kErrorText);
    const std::string huge(1 << 20, '1');
    EXPECT_STREQ(EvaluationRequest(huge.c_str(), "0.0", "0.0", "0.0").text, kErrorText);
}

TEST(RequestLimits, LongValueTextsAreRead) {
    const std::string x = std::string(5000, ' ') + "2." + std::string(5000, '5');
    EXPECT_STREQ(EvaluationRequest("x", x.c_str(), "0.0", "0.0").text, "2.555556");
}

TEST(Evaluator, EveryByteOutsideTheLanguageFailsCleanly) {
    for (int c = 1; c < 256; ++c) {
        const char text[] = {'1', '+', static_cast<char>(c), '\0'};
        float value = 0.0f;
        const bool ok = EvaluateExpression(text, value, kNoVariables, nullptr);
        const bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == 'E';
        EXPECT_EQ(ok, letterOrDigit) << "byte " << c;
    }
}

}  // namespace
