// The request's conversions between value texts and values, through their fast paths and the
// general conversion behind them.
#include <gtest/gtest.h>

#include <locale.h>

#include <bit>
#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "request/value_conversion.h"

namespace {

struct ConversionRow {
    const char* text;
    float value;
};

const ConversionRow kConversionRows[] = {
    {"1.5", 1.5f},
    {"-2", -2.0f},
    {"0.0", 0.0f},
    {"-0", -0.0f},
    {"+.5", 0.5f},
    {"1.", 1.0f},
    {"0.1", 0.1f},
    {"16777217", 16777216.0f},  // halfway between floats: to even
    {"16777219", 16777220.0f},
    {"9007199254740993", 9007199254740992.0f},  // beyond 2^53
    {"1234567890123456789012", 1234567890123456789012.0f},
    {"0.0000000000000000000000001", 1e-25f},
    // 1 + 2^-24 and a little more rounds to that double first, then to even: 1, not 1 + 2^-23
    {"1.0000000596046448", 1.0f},
    {".", 0.0f},
    {"-", 0.0f},
    {"", 0.0f},
    {" \t7", 7.0f},
    {"2.5kg", 2.5f},
    {"1,5", 1.0f},
    {"abc", 0.0f},
    {"1e3", 1000.0f},
    {"1E-2", 0.01f},
    {"1e", 1.0f},
    {"2e+", 2.0f},
    {"1e39", INFINITY},
    {"-1e39", -INFINITY},
    {"1e-46", 0.0f},
    {"0x10", 16.0f},
    {"0x1.8p1", 3.0f},
    {"-0X.8P-1", -0.25f},
    {"0x", 0.0f},
    {"inf", INFINITY},
    {"-Infinity", -INFINITY},
    {"infinit", INFINITY},
};

TEST(ConvertValueText, ReadsWhatStrtodReads) {
    for (const ConversionRow& row : kConversionRows) {
        EXPECT_EQ(std::bit_cast<std::uint32_t>(ConvertValueText(row.text)),
                  std::bit_cast<std::uint32_t>(row.value))
            << '"' << row.text << '"';
        EXPECT_EQ(std::bit_cast<std::uint32_t>(ConvertValueTextGeneral(row.text)),
                  std::bit_cast<std::uint32_t>(row.value))
            << '"' << row.text << '"';
    }
}

TEST(ConvertValueText, NotANumberWordsGiveNaN) {
    for (const char* text : {"nan", "NaN(12ab)", "-nan", " nan("}) {
        EXPECT_TRUE(std::isnan(ConvertValueText(text))) << text;
    }
}

TEST(IsWholeValueText, TellsATextReadOnlyInPart) {
    const struct {
        const char* text;
        bool whole;
    } rows[] = {
        {"1.5", true},     {"  -2.5e3  ", true}, {"0x1p3", true},  {"inf", true},
        {"nan(12)", true}, {"1,5", false},       {"2.5.1", false}, {"abc", false},
        {"2.5kg", false},  {"", false},          {"   ", false},   {"nan(", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(IsWholeValueText(row.text), row.whole) << '"' << row.text << '"';
}

// Fields of every form strtod takes, and of forms a table must refuse.
// clang-format off
constexpr const char* kFieldTexts[] = {
    "1.5", "-2", "+.5", "1.", "2.5", "-1e-3", "0x1p3", "inf", "-Infinity", "nan", "NaN(12ab)",
    "16777217", "9007199254740993", "1e39", "1.5e3", "2.5kg", "0,5", "1e", "2e+", "0x", ".", "-",
    "", " 7", "\v7", "7 8", "1.5\t", "1:2", "1.5.3", "infinit", "nan(", "0x1.8p1junk", "--1"
};
// clang-format on

// A field is a number only when strtod, in the "C" locale, reads all of it up to its
// terminator and nothing stands before it.
TEST(ReadDelimitedNumber, AcceptsWhatStrtodReadsWhole) {
    const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    for (const char* text : kFieldTexts) {
        const char* fieldEnd = text + std::strcspn(text, " \t");
        char* end = nullptr;
        const double expected = strtod_l(text, &end, classic);
        const bool whole = end == fieldEnd && fieldEnd != text && !std::isspace(text[0]);
        double value = 0.0;
        const char* read = ReadDelimitedNumber(text, " \t", value);
        EXPECT_EQ(read, whole ? fieldEnd : nullptr) << '"' << text << '"';
        if (whole && !std::isnan(expected)) {
            EXPECT_EQ(value, expected) << '"' << text << '"';
        }
    }
    double value = 0.0;
    const char* range = "0:0.3";
    EXPECT_EQ(ReadDelimitedNumber(range, ":", value), range + 1);
    EXPECT_EQ(ReadDelimitedNumber(range + 2, ":", value), range + 5);
    EXPECT_EQ(value, 0.3);
    freelocale(classic);
}

struct FixedRow {
    float value;
    const char* text;
};

const FixedRow kFixedRows[] = {
    {7.0f, "7.000000"},
    {1.0f / 3.0f, "0.333333"},
    {0.1f, "0.100000"},
    {0.0078125f, "0.007812"},  // 1/128, halfway: to even
    {0.0234375f, "0.023438"},  // 3/128
    {-0.0f, "-0.000000"},
    {-1.0f / 3000000.0f, "-0.000000"},
    {0x1p-149f, "0.000000"},
    {16777216.0f, "16777216.000000"},
    {0x1p44f - 0x1p20f, "17592184995840.000000"},  // the largest value of the fast path
    {0x1p44f, "17592186044416.000000"},
    {FLT_MAX, "340282346638528859811704183484516925440.000000"},
    {-FLT_MAX, "-340282346638528859811704183484516925440.000000"},
    {INFINITY, "inf"},
    {-INFINITY, "-inf"},
    {NAN, "nan"},
    {-NAN, "-nan"},
};

TEST(FixedValueText, WritesWhatPrintfWrites) {
    for (const FixedRow& row : kFixedRows) {
        char text[kFixedTextCapacity];
        EXPECT_EQ(FixedValueText(row.value, text), std::strlen(row.text)) << row.text;
        EXPECT_STREQ(text, row.text);
        FixedValueTextGeneral(row.value, text);
        EXPECT_STREQ(text, row.text);
    }
}

}  // namespace
