#include "request/reusable_value_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>

#include "request/evaluation_request.h"

namespace {

struct ReusableRow {
    float value;
    const char* text;  // empty: none
};

const ReusableRow kReusableRows[] = {
    {1.0f, "1.0"},
    {0.1f, "0.1"},
    {1.0e-8f, "0.00000001"},  // the shortest form "1e-08" is no literal of the language
    {-2.5f, "(-2.5)"},
    {-0.0f, "(-0.0)"},
    {3.0e9f, "3000000000.0"},  // beyond 32 bits, so never an integer token
    {110000005120.0f, "110000005120.0"},
    {3.4028235e38f, "340282346638528859811704183484516925440.0"},
    {std::numeric_limits<float>::denorm_min(), "0.000000000000000000000000000000000000000000001"},
    {std::numeric_limits<float>::infinity(), ""},
    {-std::numeric_limits<float>::infinity(), ""},
    {std::numeric_limits<float>::quiet_NaN(), ""},
};

TEST(ReusableValueText, LiteralThatEvaluatesToTheSameValue) {
    for (const ReusableRow& row : kReusableRows) {
        char text[kReusableTextCapacity];
        EXPECT_EQ(ReusableValueText(row.value, text), row.text[0] != '\0') << row.text;
        EXPECT_STREQ(text, row.text);
        if (row.text[0] == '\0') continue;
        float read = 1.0f;
        ASSERT_TRUE(EvaluateWithValues(text, 0.0f, 0.0f, 0.0f, read)) << text;
        EXPECT_EQ(std::bit_cast<std::uint32_t>(read), std::bit_cast<std::uint32_t>(row.value))
            << text;
    }
}

struct NeighbourRow {
    char before;
    char after;
    bool joins;
};

const NeighbourRow kNeighbourRows[] = {
    {'\0', '\0', false}, {'+', '\0', false}, {'(', ')', false}, {' ', ' ', false},
    {',', '*', false},   {'2', '\0', true},  {'\0', 'x', true}, {'.', '+', true},
    {'e', '\0', true},   {'+', 'P', true},
};

TEST(ReusableValueText, BracketsWhereTheTextWouldJoinAToken) {
    for (const NeighbourRow& row : kNeighbourRows) {
        EXPECT_EQ(JoinsNeighbours(row.before, row.after), row.joins)
            << "'" << row.before << "' '" << row.after << "'";
    }
}

}  // namespace
