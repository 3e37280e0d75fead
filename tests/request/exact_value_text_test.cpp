#include "request/exact_value_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace {

struct ExactRow {
    float value;
    const char* exact;
    const char* bits;
};

const ExactRow kExactRows[] = {
    {1.0f, "1", "0x3F800000"},
    {-2.0f, "-2", "0xC0000000"},
    {16777216.0f, "16777216", "0x4B800000"},
    {110000005120.0f, "110000005120", "0x51CCE417"},
    {0.025f, "0.025", "0x3CCCCCCD"},
    {1.0f / 3.0f, "0.33333334", "0x3EAAAAAB"},
    {1.0e-8f, "1e-08", "0x322BCC77"},
    {-0.0f, "-0", "0x80000000"},
    {std::numeric_limits<float>::infinity(), "inf", "0x7F800000"},
    {std::bit_cast<float>(std::uint32_t{0xFFC00000}), "-nan", "0xFFC00000"},
    {std::numeric_limits<float>::denorm_min(), "1e-45", "0x00000001"},
    {-3.4028235e38f, "-3.4028235e+38", "0xFF7FFFFF"},
};

TEST(ExactValueText, ShortestTextAndBitPattern) {
    for (const ExactRow& row : kExactRows) {
        char text[kExactTextCapacity];
        EXPECT_EQ(ExactValueText(row.value, text, sizeof text), std::string(row.exact).size());
        EXPECT_STREQ(text, row.exact);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(std::strtof(text, nullptr)),
                  std::bit_cast<std::uint32_t>(row.value))
            << "reads back: " << row.exact;
        char bits[kBitsTextCapacity];
        ValueBitsText(row.value, bits);
        EXPECT_STREQ(bits, row.bits) << row.exact;
    }
}

// A short buffer gets a cut, terminated text and never a byte past its end.
TEST(ExactValueText, ShortBuffersAreCutAndTerminated) {
    for (std::size_t capacity = 0; capacity <= 14; ++capacity) {
        char text[16];
        std::memset(text, '#', sizeof text);
        EXPECT_EQ(ExactValueText(110000005120.0f, text, capacity), 12u);
        const std::string whole = "110000005120";
        if (capacity > 0) {
            EXPECT_EQ(text, whole.substr(0, capacity - 1));
        }
        for (std::size_t i = capacity; i < sizeof text; ++i)
            EXPECT_EQ(text[i], '#') << capacity;
    }
}

}  // namespace
