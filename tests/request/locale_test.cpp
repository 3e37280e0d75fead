// The calculator reads and writes the period whatever locale the process runs in.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "request/evaluation_request.h"

namespace {

class CommaLocale : public testing::Test {
  protected:
    void SetUp() override {
        if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
            GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed (./test makes it)";
        }
        char probe[16];
        std::snprintf(probe, sizeof probe, "%.1f", 0.5);
        ASSERT_EQ(std::string(probe), "0,5") << "the locale must really use a comma";
    }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

struct LocaleRow {
    const char* expression;
    const char* x;
    const char* display;
};

const LocaleRow kRows[] = {
    {"x*2", "1.5", "3.000000"},    {"x", "1,5", "1.000000"},   {"0.25", "0.0", "0.250000"},
    {"2.5e-1", "0.0", "0.250000"}, {"1/3", "0.0", "0.333333"}, {"x", " 2.5e1kg", "25.000000"},
};

TEST_F(CommaLocale, PeriodIsTheSeparatorBothWays) {
    for (const LocaleRow& row : kRows) {
        EXPECT_STREQ(EvaluationRequest(row.expression, row.x, "0.0", "0.0").text, row.display)
            << row.expression << " with X " << row.x;
    }
    EXPECT_EQ(ConvertValueText("0.75"), 0.75f);
}

}  // namespace
