// Runs alone in its process: it checks where the process-wide generator starts, so nothing
// may draw before it.
#include <gtest/gtest.h>

#include "library/random_generator.h"
#include "library/scalar_functions.h"

namespace {

TEST(RandomSequence, RandAndRand2DrawOnceEachFromTheStartOfTheSequence) {
    EXPECT_EQ(Rand(32768), 41.0f);
    EXPECT_EQ(Rand2(0, 32768), 18467.0f);
    EXPECT_EQ(Rand(1), 6334.0f / 32768.0f);
    EXPECT_EQ(Rand2(10, 20), 10.0f + 10.0f * (26500.0f / 32768.0f));
    EXPECT_EQ(DrawRandom15(), 19169);
}

}  // namespace
