// Runs alone in its process: it checks where the process-wide generator starts, so nothing
// may draw before it.
#include <gtest/gtest.h>

#include <string>

#include "request/evaluation_request.h"
#include "library/random_generator.h"
#include "library/scalar_functions.h"

namespace {

TEST(RandomSequence, ExpressionsAndDirectCallsShareOneSequenceFromItsStart) {
    EXPECT_EQ(std::string(EvaluationRequest("rand(32768)", "0", "0", "0").text), "41.000000");
    EXPECT_EQ(Rand2(0, 32768), 18467.0f);
    EXPECT_EQ(Rand(1), 6334.0f / 32768.0f);
    EXPECT_EQ(std::string(EvaluationRequest("rand2(x, y)", "10", "20", "0").text), "18.087158");
    EXPECT_EQ(DrawRandom15(), 19169);
}

}  // namespace
