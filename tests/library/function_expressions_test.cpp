#include <gtest/gtest.h>

#include <string>

#include "request/evaluation_request.h"
#include "tests/library/scalar_cases.h"

namespace {

TEST(FunctionExpressions, EveryDirectCallRowEvaluatesToTheSameValue) {
    for (const ScalarCase& row : kScalarCases) {
        float value = 0.0f;
        ASSERT_TRUE(EvaluateWithValues(row.text, "0", "0", "0", value)) << row.text;
        EXPECT_TRUE(SameValue(value, row.value))
            << row.text << ": got " << value << ", want " << row.value;
    }
}

struct DisplayCase {
    const char* expression;
    const char* x;
    const char* y;
    const char* z;
    const char* display;
};

const DisplayCase kDisplays[] = {
    {"log2(26)", "0", "0", "0", "4.700439"},
    {"gray(10, 20, 30)", "0", "0", "0", "18.150000"},
    {"gray(1, 0, 0)", "0", "0", "0", "0.299000"},
    {"max(-0, 0)", "0", "0", "0", "-0.000000"},
    {"min(-0, 0)", "0", "0", "0", "0.000000"},
    {"clamp(15, 10, 0)", "0", "0", "0", "10.000000"},
    {"clamp(x, y, z)", "15", "10", "0", "10.000000"},
    {"clamp(x, y, z)", "5", "0", "10", "0.000000"},
    {"average3(1, 2, 4)", "0", "0", "0", "2.333333"},
    {"sin(PI)", "0", "0", "0", "-0.000000"},
    {"log(E)", "0", "0", "0", "1.000000"},
    {"asin(2)", "0", "0", "0", "1.570796"},
    {"sqrt(2)", "0", "0", "0", "1.414214"},
    {"exp(89)", "0", "0", "0", "inf"},
    {"log(0)", "0", "0", "0", "-inf"},
    {"3.0e38+3.0e38-3.0e38", "0", "0", "0", "inf"},
    {"lerp(x, y, z)", "2", "4", "2", "6.000000"},
    {"abs(floor(-x)) + ceil(y)", "2.5", "-2.5", "0", "1.000000"},
    {"max4(sign(-0), 2, abs(-3), min3(3, 1, average4(1, 2, 3, 4)))", "0", "0", "0", "3.000000"},
    {"array_add(1)", "0", "0", "0", kErrorText},
    {"array_cumulate(1)", "0", "0", "0", kErrorText},
};

TEST(FunctionExpressions, DisplayTexts) {
    for (const DisplayCase& row : kDisplays) {
        const DisplayText display = EvaluationRequest(row.expression, row.x, row.y, row.z);
        EXPECT_EQ(std::string(display.text), row.display)
            << row.expression << " with x=" << row.x << " y=" << row.y << " z=" << row.z;
    }
}

}  // namespace
