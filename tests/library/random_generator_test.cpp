#include "library/random_generator.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(RandomGenerator, FirstDrawsFromTheStartState) {
    constexpr int kFirstDraws[] = {41,    18467, 6334,  26500, 19169,
                                   15724, 11478, 29358, 26962, 24464};
    std::uint32_t state = kRandomStartState;
    for (int expected : kFirstDraws)
        EXPECT_EQ(DrawRandom15From(state), expected);
}

TEST(RandomGenerator, OneStepWrapsModulo2To32AndYieldsBits16To30) {
    struct StepCase {
        std::uint32_t before;
        std::uint32_t after;
        int draw;
    };
    constexpr StepCase kSteps[] = {
        {1u, 2745024u, 41},
        {0u, 2531011u, 38},
        {0xFFFFFFFFu, 2316998u, 35},
        {0x80000000u, 2150014659u, 38},
    };
    for (const StepCase& step : kSteps) {
        std::uint32_t state = step.before;
        EXPECT_EQ(DrawRandom15From(state), step.draw) << "from " << step.before;
        EXPECT_EQ(state, step.after) << "from " << step.before;
    }
}

TEST(RandomGenerator, DrawsCoverTheFifteenBitRange) {
    std::uint32_t state = kRandomStartState;
    int low = 32767;
    int high = 0;
    for (int i = 0; i < 100000; ++i) {
        const int draw = DrawRandom15From(state);
        ASSERT_GE(draw, 0);
        ASSERT_LE(draw, 32767);
        low = draw < low ? draw : low;
        high = draw > high ? draw : high;
    }
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 32767);
}

// The replay the differential tools rely on: the process-wide sequence continues from a state
// set on it, and reports the state its draws reached.
TEST(RandomGenerator, ProcessWideSequenceContinuesFromAStateSetOnIt) {
    for (std::uint32_t start : {0u, 12345u, 0xFFFFFFFFu}) {
        SetRandomState(start);
        std::uint32_t model = start;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(DrawRandom15(), DrawRandom15From(model)) << "from " << start;
        EXPECT_EQ(RandomState(), model);
    }
}

}  // namespace
