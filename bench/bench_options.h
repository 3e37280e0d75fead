#pragma once

#include <cstdint>
#include <string>

// The options of quorvel-bench beside Google Benchmark's own --benchmark_* flags.
struct BenchOptions {
    std::uint64_t batchLines = 1000000;  // 0 skips the batch run
    std::string quorvelEval;             // the evaluator the batch run starts
    bool requireTargets = false;         // a missed speed target fails the run
    std::string error;                   // set when the arguments are not understood
};

inline constexpr const char* kBenchUsage =
    "usage: quorvel-bench [--benchmark_...] [--batch_lines=N] [--quorvel_eval=PATH] "
    "[--require_targets]\n";

// Reads the arguments that Google Benchmark left (argv[0] is skipped).
BenchOptions ParseBenchOptions(int argc, const char* const* argv, const std::string& evaluator);
