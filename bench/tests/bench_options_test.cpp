#include "bench/bench_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct OptionsCase {
    std::vector<const char*> arguments;  // after the program name
    std::uint64_t batchLines;
    const char* evaluator;
    bool requireTargets;
    bool accepted;
};

TEST(BenchOptions, ReadsTheBenchmarksOwnArguments) {
    const OptionsCase cases[] = {
        {{}, 1000000, "default-eval", false, true},
        {{"--batch_lines=2000"}, 2000, "default-eval", false, true},
        {{"--batch_lines=0"}, 0, "default-eval", false, true},
        {{"--quorvel_eval=/opt/eval", "--require_targets"}, 1000000, "/opt/eval", true, true},
        {{"--batch_lines="}, 0, "", false, false},
        {{"--batch_lines=12x"}, 0, "", false, false},
        {{"--batch_lines=-5"}, 0, "", false, false},
        {{"--quorvel_eval="}, 0, "", false, false},
        {{"--require-targets"}, 0, "", false, false},
        {{"extra"}, 0, "", false, false},
    };
    for (const OptionsCase& testCase : cases) {
        std::vector<const char*> argv = {"quorvel-bench"};
        argv.insert(argv.end(), testCase.arguments.begin(), testCase.arguments.end());
        SCOPED_TRACE(argv.size() > 1 ? argv[1] : "(none)");
        const BenchOptions options =
            ParseBenchOptions(static_cast<int>(argv.size()), argv.data(), "default-eval");
        EXPECT_EQ(options.error.empty(), testCase.accepted) << options.error;
        if (!testCase.accepted) continue;
        EXPECT_EQ(options.batchLines, testCase.batchLines);
        EXPECT_EQ(options.quorvelEval, testCase.evaluator);
        EXPECT_EQ(options.requireTargets, testCase.requireTargets);
    }
}

}  // namespace
