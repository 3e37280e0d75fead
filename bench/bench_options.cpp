#include "bench/bench_options.h"

#include <charconv>
#include <string_view>

namespace {

bool ReadCount(std::string_view text, std::uint64_t& count) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, count);
    return !text.empty() && error == std::errc{} && stop == end;
}

}  // namespace

BenchOptions ParseBenchOptions(int argc, const char* const* argv, const std::string& evaluator) {
    constexpr std::string_view kLines = "--batch_lines=";
    constexpr std::string_view kEvaluator = "--quorvel_eval=";
    BenchOptions options;
    options.quorvelEval = evaluator;
    for (int i = 1; i < argc && options.error.empty(); ++i) {
        const std::string_view argument = argv[i];
        if (argument.substr(0, kLines.size()) == kLines) {
            if (!ReadCount(argument.substr(kLines.size()), options.batchLines)) {
                options.error = "not a line count: " + std::string(argument);
            }
        } else if (argument.substr(0, kEvaluator.size()) == kEvaluator &&
                   argument.size() > kEvaluator.size()) {
            options.quorvelEval = argument.substr(kEvaluator.size());
        } else if (argument == "--require_targets") {
            options.requireTargets = true;
        } else {
            options.error = "unknown argument: " + std::string(argument);
        }
    }
    return options;
}
