// Whole expressions through the request, as a user sees them: the display text for each row.
#include <gtest/gtest.h>

#include <string>

#include "request/evaluation_request.h"
#include "tests/support/case_names.h"

namespace {

struct DisplayRow {
    const char* expression;
    const char* x;
    const char* y;
    const char* z;
    const char* display;
};

const char* const kError = kErrorText;

// Operators, precedence, the leading sign and brackets (X = 1.5 unless a row says otherwise).
const DisplayRow kEvaluatorRows[] = {
    {"1+2*3", "1.5", "0", "0", "7.000000"},
    {"2*3+1", "1.5", "0", "0", "7.000000"},
    {"10-4-3", "1.5", "0", "0", "3.000000"},
    {"8/2/2", "1.5", "0", "0", "2.000000"},
    {"8/2*3", "1.5", "0", "0", "12.000000"},
    {"2^3^2", "1.5", "0", "0", "64.000000"},
    {"1+2*3^2", "1.5", "0", "0", "37.000000"},
    {"1+2*3^2-4", "1.5", "0", "0", "33.000000"},
    {"2*3^2", "1.5", "0", "0", "36.000000"},
    {"1-2*3-4", "1.5", "0", "0", "-9.000000"},
    {"-2^2", "1.5", "0", "0", "4.000000"},
    {"- 3", "1.5", "0", "0", "-3.000000"},
    {"+5", "1.5", "0", "0", "5.000000"},
    {"-1-1", "1.5", "0", "0", "-2.000000"},
    {"2*-3", "1.5", "0", "0", kError},
    {"2--3", "1.5", "0", "0", kError},
    {"2*(-3)", "1.5", "0", "0", "-6.000000"},
    {"", "1.5", "0", "0", kError},
    {"   ", "1.5", "0", "0", kError},
    {"+", "1.5", "0", "0", kError},
    {"-", "1.5", "0", "0", kError},
    {"1+", "1.5", "0", "0", kError},
    {"1+ ", "1.5", "0", "0", kError},
    {"1 2", "1.5", "0", "0", kError},
    {"  1 + 2  ", "1.5", "0", "0", "3.000000"},
    {"1/0", "1.5", "0", "0", "340282346638528859811704183484516925440.000000"},
    {"0/0", "1.5", "0", "0", "-340282346638528859811704183484516925440.000000"},
    {"-1/0", "1.5", "0", "0", "-340282346638528859811704183484516925440.000000"},
    {"1/0.0000001", "1.5", "0", "0", "340282346638528859811704183484516925440.000000"},
    {"1/(-2)", "1.5", "0", "0", "-0.500000"},
    {"7%3", "1.5", "0", "0", "1.000000"},
    {"7%(-3)", "1.5", "0", "0", "1.000000"},
    {"-7%3", "1.5", "0", "0", "-1.000000"},
    {"7%0", "1.5", "0", "0", "0.000000"},
    {"x*2", "1.5", "0", "0", "3.000000"},
    {"a", "1.5", "0", "0", "0.000000"},
    {"1)", "1.5", "0", "0", kError},
    {"(1", "1.5", "0", "0", kError},
    {"2(3)", "1.5", "0", "0", kError},
    {"1,2", "1.5", "0", "0", kError},
    {"1=1", "1.5", "0", "0", kError},
    {"A", "1.5", "0", "0", kError},
    {"_", "1.5", "0", "0", kError},
    {"\xB0", "1.5", "0", "0", kError},
    {"3.0e38+3.0e38-3.0e38", "0", "0", "0", "inf"},
    {"0-1/0*2", "0", "0", "0", "-inf"},
    {"pow(-8, 0.5)", "0", "0", "0", "-nan"},
    {"-pow(-8, 0.5)", "0", "0", "0", "nan"},
};

// Brackets and calls.
const DisplayRow kGroupRows[] = {
    {"(1+2)*3", "0", "0", "0", "9.000000"},
    {"[1+2]*3", "0", "0", "0", "9.000000"},
    {"{1+2}*3", "0", "0", "0", "9.000000"},
    {"((2))", "0", "0", "0", "2.000000"},
    {"( 2 )", "0", "0", "0", "2.000000"},
    {"([{1}])", "0", "0", "0", "1.000000"},
    {"(1]", "0", "0", "0", kError},
    {"((1)", "0", "0", "0", kError},
    {"()", "0", "0", "0", kError},
    {"(", "0", "0", "0", kError},
    {"(1,2)", "0", "0", "0", kError},
    {"max(2,3)", "0", "0", "0", "3.000000"},
    {"max [2, 3]", "0", "0", "0", "3.000000"},
    {"max{2,3}", "0", "0", "0", "3.000000"},
    {"max(3,min(1,2))", "0", "0", "0", "3.000000"},
    {"max(min(1,2),3)", "0", "0", "0", kError},
    {"max(1)", "0", "0", "0", kError},
    {"max(1,2,3)", "0", "0", "0", kError},
    {"max(,2)", "0", "0", "0", kError},
    {"max(2,)", "0", "0", "0", kError},
    {"sin 1", "0", "0", "0", kError},
    {"sin", "0", "0", "0", kError},
    {"array_add(1)", "0", "0", "0", kError},
    {"array_cumulate(1)", "0", "0", "0", kError},
    {"add(2,3)*2", "0", "0", "0", "10.000000"},
    {"add((1+1),[3])", "0", "0", "0", "5.000000"},
};

// Names: constants, variables, the operator rows of the registry.
const DisplayRow kNameRows[] = {
    {"PI", "1.5", "0", "0", "3.141593"},
    {"2*PI", "1.5", "0", "0", "6.283185"},
    {"E", "1.5", "0", "0", "2.718282"},
    {"e", "1.5", "0", "0", "0.000000"},
    {"pi", "1.5", "0", "0", kError},
    {"PIE", "1.5", "0", "0", kError},
    {"positive(-2)", "1.5", "0", "0", "-2.000000"},
    {"negative(2)", "1.5", "0", "0", "-2.000000"},
    {"add(2,3)", "1.5", "0", "0", "5.000000"},
    {"sub(2,3)", "1.5", "0", "0", "-1.000000"},
    {"multiply(2,3)", "1.5", "0", "0", "6.000000"},
    {"divide(1,0)", "1.5", "0", "0", "340282346638528859811704183484516925440.000000"},
    {"mod(7,3)", "1.5", "0", "0", "1.000000"},
    {"pow(2,10)", "1.5", "0", "0", "1024.000000"},
    {"SIN(1)", "1.5", "0", "0", kError},
    {"abcdefghijklmnopqrstuvwxyz(1)", "1.5", "0", "0", kError},
    {"x*foo", "1.5", "0", "0", kError},
};

// The request: value texts as the fields deliver them, and the "%f" display.
const DisplayRow kRequestRows[] = {
    {"1+2", "0.0", "0.0", "0.0", "3.000000"},
    {"x+y+z", "1", "2", "3", "6.000000"},
    {"1/3", "0.0", "0.0", "0.0", "0.333333"},
    {"0.1", "0.0", "0.0", "0.0", "0.100000"},
    {"2^24+1", "0.0", "0.0", "0.0", "16777216.000000"},
    {"1/3000000", "0.0", "0.0", "0.0", "0.000000"},
    {"-1/3000000", "0.0", "0.0", "0.0", "-0.000000"},
    {"x", "abc", "0.0", "0.0", "0.000000"},
    {"x", "", "0.0", "0.0", "0.000000"},
    {"x", "2.5kg", "0.0", "0.0", "2.500000"},
    {"x", "1,5", "0.0", "0.0", "1.000000"},
    {"x", " 7", "0.0", "0.0", "7.000000"},
    {"x", "\t-2.5e1", "0.0", "0.0", "-25.000000"},
    {"x", "+-1", "0.0", "0.0", "0.000000"},
    {"x", "1e39", "0.0", "0.0", "inf"},
    {"y", "0.0", "1e-50", "0.0", "0.000000"},
    {"a+w", "9", "9", "9", "0.000000"},
    {"z", "0", "0", "0.1", "0.100000"},
    {"", "0.0", "0.0", "0.0", kError},
    {"1+", "0.0", "0.0", "0.0", kError},
    {"1/128", "0.0", "0.0", "0.0", "0.007812"},
};

class DisplayTable : public testing::TestWithParam<DisplayRow> {};

std::string NameByExpression(const testing::TestParamInfo<DisplayRow>& info) {
    return CaseName(info.param.expression, info.index);
}

void PrintTo(const DisplayRow& row, std::ostream* out) {
    *out << '"' << row.expression << '"';
}

TEST_P(DisplayTable, ShowsTheExpectedText) {
    const DisplayRow& row = GetParam();
    const DisplayText display = EvaluationRequest(row.expression, row.x, row.y, row.z);
    EXPECT_STREQ(display.text, row.display) << "expression [" << row.expression << "] x=" << row.x;
}

INSTANTIATE_TEST_SUITE_P(Evaluator, DisplayTable, testing::ValuesIn(kEvaluatorRows),
                         NameByExpression);
INSTANTIATE_TEST_SUITE_P(Groups, DisplayTable, testing::ValuesIn(kGroupRows), NameByExpression);
INSTANTIATE_TEST_SUITE_P(Names, DisplayTable, testing::ValuesIn(kNameRows), NameByExpression);
INSTANTIATE_TEST_SUITE_P(Request, DisplayTable, testing::ValuesIn(kRequestRows), NameByExpression);

TEST(EvaluationRequest, NothingOfAFailureCarriesOver) {
    EXPECT_STREQ(EvaluationRequest("x*foo", "3", "0.0", "0.0").text, kErrorText);
    EXPECT_STREQ(EvaluationRequest("x", "4", "0.0", "0.0").text, "4.000000");
}

TEST(EvaluationRequest, ErrorTextIsTheUtf8Text) {
    EXPECT_EQ(std::string(kErrorText), "Quorvel\xE8\xA7\xA3\xE6\x9E\x90\xE9\x94\x99\xE8\xAF\xAF!");
}

TEST(EvaluationRequest, FailedEvaluationLeavesValueZero) {
    float value = 5.0f;
    EXPECT_FALSE(EvaluateWithValues("1+", "0", "0", "0", value));
    EXPECT_EQ(value, 0.0f);
}

}  // namespace
