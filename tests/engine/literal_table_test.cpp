// Numeric literals to the bit: each row is a whole expression and the float it must produce.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <string>

#include "engine/evaluator.h"
#include "engine/numeric_literals.h"
#include "tests/support/case_names.h"
#include "tests/support/float_bits.h"

namespace {

// Every variable 0.
constexpr VariableBank kNoVariables{};

struct LiteralRow {
    std::string text;
    bool succeeds;
    std::uint32_t bits;  // expected value when it succeeds
};

constexpr std::uint32_t kInf = 0x7F800000;
constexpr std::uint32_t kZero = 0x00000000;

std::uint32_t B(float value) {
    return Bits(value);
}

const LiteralRow kLiteralRows[] = {
    {"1.5e3", true, B(1500.0f)},
    {"1.5E3", true, B(1500.0f)},
    {"1.5e+3", true, B(1500.0f)},
    {"2.5E-2", true, 0x3CCCCCCD},  // 0.0250000004
    {"5.e2", true, B(500.0f)},
    {"0.5e1", true, B(5.0f)},
    {"1.5e007", true, B(15000000.0f)},
    {"1.5e", true, B(1.5f)},
    {"1.5e+", true, B(1.5f)},
    {"1.5e-", true, B(1.5f)},
    {"1.5e+-2", true, B(-0.5f)},
    {"1.5e++2", true, B(3.5f)},
    {"1.5e3 ", true, B(1500.0f)},
    {" 1.5e3*2", true, B(3000.0f)},
    {"1.5 e3", false, 0},
    {"1.5e3x", false, 0},
    {"1.5e3.0", false, 0},
    {"1.5e3_", false, 0},
    {"1.5e\t3", false, 0},
    {"1e3", false, 0},
    {".5", false, 0},
    {".5e1", false, 0},
    {"1.", true, B(1.0f)},
    {"1.2.3", false, 0},
    {"1.2.3e1", false, 0},
    {"1.1e11", true, B(110000005120.0f)},
    {"1.0e-3", true, 0x3A83126E},  // 9.99999931e-4, not the nearest float 1.00000005e-3
    {"1.0e38", true, 0x7E96769A},  // 1.00000007e38, not 9.99999968e37
    {"1.0e39", true, kInf},
    {"1.0e-45", true, 0x00000001},
    {"1.0e-46", true, kZero},
    {"1" + std::string(39, '0') + ".0e-1", true, kInf},
    {"0." + std::string(45, '0') + "1e46", true, kZero},
    {"1." + std::string(61, '0') + "e1", true, B(10.0f)},
    {"1." + std::string(62, '0') + "e1", false, 0},
    {"1.0e" + std::string(62, '0') + "2", true, B(100.0f)},
    {"1.0e" + std::string(64, '0'), false, 0},
    {"1.0e-99999999999999", true, kZero},
    {"1.0e99999999999999", true, kInf},
    {"1.0e83", true, kInf},
    {"3.0e-38e", false, 0},
    {"0x1F", true, B(31.0f)},
    {"0X1f", true, B(31.0f)},
    {"0x", true, kZero},
    {"0X", true, kZero},
    {"0y", true, kZero},
    {"0Y", true, kZero},
    {"0xg", false, 0},
    {"0x1e-5", true, B(25.0f)},
    {"0xFFFFFFFF", true, B(-1.0f)},
    {"0x80000000", true, B(-2147483648.0f)},
    {"0x100000000", true, kZero},
    {"0x123456789", true, B(591751040.0f)},
    {"0x" + std::string(59, '0') + "1F", true, B(31.0f)},
    {"0x" + std::string(60, '0') + "1F", false, 0},
    {"0y101", true, B(5.0f)},
    {"0y" + std::string(32, '1'), true, B(-1.0f)},
    {"0y1" + std::string(32, '0'), true, kZero},
    {"0y102", false, 0},
    {"0", true, kZero},
    {"00", true, kZero},
    {"010", true, B(8.0f)},
    {"017", true, B(15.0f)},
    {"037777777777", true, B(-1.0f)},
    {"040000000000", true, kZero},
    {"08", false, 0},
    {"09.5", true, B(9.5f)},
    {"0.5", true, B(0.5f)},
    {"16777217", true, B(16777216.0f)},
    {"2147483647", true, B(2147483648.0f)},
    {"2147483648", true, B(2147483648.0f)},
    {"99999999999999999999", true, B(2147483648.0f)},
    {"1\t+2", false, 0},
    {"1:2", false, 0},
    {"1=1", false, 0},
    {"1<2", false, 0},
    {"12abc", false, 0},
    {"1_000", false, 0},
};

void PrintTo(const LiteralRow& row, std::ostream* out) {
    *out << row.text;
}

class LiteralTable : public testing::TestWithParam<LiteralRow> {};

TEST_P(LiteralTable, ProducesExactBits) {
    const LiteralRow& row = GetParam();
    float value = 123.0f;
    const bool ok = EvaluateExpression(row.text.c_str(), value, kNoVariables, nullptr);
    ASSERT_EQ(ok, row.succeeds) << "[" << row.text << "] gave " << Describe(value);
    if (ok) {
        EXPECT_EQ(Bits(value), row.bits) << "[" << row.text << "] gave " << Describe(value)
                                         << ", expected " << Describe(FromBits(row.bits));
    } else {
        EXPECT_EQ(Bits(value), kZero) << "a failure leaves the result 0";
    }
}

INSTANTIATE_TEST_SUITE_P(Literals, LiteralTable, testing::ValuesIn(kLiteralRows),
                         [](const auto& info) { return CaseName(info.param.text, info.index); });

// Operator results are computed once in double and rounded once.
struct BitsRow {
    const char* text;
    std::uint32_t bits;
};

const BitsRow kOperatorRows[] = {
    {"1/3", 0x3EAAAAAB},
    {"0.1+0.2", 0x3E99999A},
    {"16777216+1", B(16777216.0f)},
    {"3.4e38*10", kInf},
    {"1/0", 0x7F7FFFFF},
    {"0/0", 0xFF7FFFFF},
    {"-0*1", 0x80000000},
    {"-0", 0x80000000},
    {"0-0", kZero},
    {"5%2.5", kZero},
    {"-5%3", B(-2.0f)},
    {"2^0.5", 0x3FB504F3},
    {"1/0.00000012", 0x4AFE502B},
};

void PrintTo(const BitsRow& row, std::ostream* out) {
    *out << row.text;
}

class OperatorBits : public testing::TestWithParam<BitsRow> {};

TEST_P(OperatorBits, RoundsOnce) {
    float value = 0.0f;
    ASSERT_TRUE(EvaluateExpression(GetParam().text, value, kNoVariables, nullptr))
        << GetParam().text;
    EXPECT_EQ(Bits(value), GetParam().bits) << GetParam().text << " gave " << Describe(value)
                                            << ", expected " << Describe(FromBits(GetParam().bits));
}

INSTANTIATE_TEST_SUITE_P(Operators, OperatorBits, testing::ValuesIn(kOperatorRows),
                         [](const auto& info) { return CaseName(info.param.text, info.index); });

// The readers' cursor contract, which the evaluator relies on.
TEST(ReadPointedLiteral, MovesTheCursorOnlyPastWhatItReads) {
    struct Row {
        const char* text;
        std::int32_t cursor;  // where a success leaves it; 0 for a failure
        float value;
    };
    constexpr Row kRows[] = {
        {"2.5e-1+1", 6, 0.25f}, {"2.5+1", 3, 2.5f}, {"12.)", 3, 12.0f}, {"1e3", 0, 0.0f},
        {"1.2.3", 0, 0.0f},     {"2.5x", 0, 0.0f},  {"2.5e", 4, 2.5f},  {"2.5e3x", 0, 0.0f},
    };
    for (const Row& row : kRows) {
        std::int32_t cursor = 0;
        float value = -1.0f;
        EXPECT_EQ(ReadPointedLiteral(row.text, cursor, value), row.cursor > 0) << row.text;
        EXPECT_EQ(cursor, row.cursor) << row.text;
        EXPECT_EQ(value, row.cursor > 0 ? row.value : -1.0f) << row.text;
    }
}

TEST(ParseInteger, ResetsTheIntegerAndRejectsForeignDigits) {
    std::int32_t integer = 7;
    EXPECT_FALSE(ParseInteger("0y12", integer));
    EXPECT_TRUE(ParseInteger("0", integer));
    EXPECT_EQ(integer, 0);
    EXPECT_FALSE(ParseInteger("1x", integer));
}

TEST(ParseDecimal, LeavesTheValueOnFailure) {
    float value = 4.0f;
    EXPECT_FALSE(ParseDecimal("12", value));
    EXPECT_FALSE(ParseDecimal("1..2", value));
    EXPECT_EQ(value, 4.0f);
    EXPECT_TRUE(ParseDecimal("12.", value));
    EXPECT_EQ(value, 12.0f);
}

// The short-decimal path divides exact doubles; it must give what the general conversion gives,
// at every digit count on both sides of its 15-digit bound and at every place of the point.
TEST(ParseDecimal, AgreesWithTheCorrectlyRoundedConversion) {
    std::uint64_t state = 12345;
    const auto next = [&state] {
        state = state * 6364136223846793005u + 1442695040888963407u;
        return state >> 33;
    };
    for (int i = 0; i < 200000; ++i) {
        const int digits = 1 + static_cast<int>(next() % 19);
        const int point = 1 + static_cast<int>(next() % static_cast<std::uint64_t>(digits));
        std::string text;
        for (int d = 0; d < digits; ++d) {
            if (d == point) text += '.';
            text += static_cast<char>('0' + next() % 10);
        }
        if (point == digits) text += '.';
        double wide = 0.0;
        std::from_chars(text.data(), text.data() + text.size(), wide);
        float value = 0.0f;
        ASSERT_TRUE(ParseDecimal(text.c_str(), value)) << text;
        ASSERT_EQ(Bits(value), Bits(static_cast<float>(wide))) << text;
    }
}

}  // namespace
