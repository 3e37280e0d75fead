// Compares the engine with the reference copy of it kept in tests/engine/reference/ on generated
// expressions: the success flag, the result bit for bit, and the draws of rand and rand2 (how
// many, and what they drew, which shows in the bits), including the draws of evaluations that fail
// later. The engine also
// runs again with a failure report, which must change nothing and must hold a reason exactly when
// the evaluation fails.
//
//   quorvel-engine-differential [COUNT [SEED]]    (defaults: 1000000 expressions, seed 1)
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/evaluator.h"
#include "tests/engine/expression_generator.h"
#include "tests/engine/reference/evaluator.h"
#include "tests/engine/replayed_draws.h"

namespace {

struct Outcome {
    bool ok;
    std::uint32_t bits;
    Draws draws;
    bool operator==(const Outcome&) const = default;
};

template <typename Evaluate>
Outcome Run(Evaluate evaluate, std::uint32_t drawSeed) {
    RestartDraws(drawSeed);
    float value = 1.0f;
    const bool ok = evaluate(value);
    return {ok, std::bit_cast<std::uint32_t>(value), DrawsSince(drawSeed)};
}

// The engine reads the caller's bank; the reference keeps its own process-wide one.
void SetVariables(std::uint64_t round, VariableBank& variables) {
    static const float kValues[] = {0.0f,    -0.0f,  1.5f,        -2.0f,
                                    3.0e38f, 1e-40f, 1.0f / 0.0f, std::bit_cast<float>(0x7FC00000u),
                                    0.25f};
    for (int i = 0; i < 26; ++i) {
        const float value = kValues[(round + static_cast<std::uint64_t>(i) * 7) % 9];
        variables[i] = value;
        reference::g_variableBank[i] = value;
    }
}

bool ReportFits(const FailureReport& report, bool ok, std::size_t length) {
    if (ok) return report.reason == FailureReason::kNone && report.column == 0;
    const bool wholeText = report.reason == FailureReason::kEmptyExpression ||
                           report.reason == FailureReason::kExpressionTooLong;
    return report.reason != FailureReason::kNone && report.reason < FailureReason::kCount &&
           (report.column == 0) == wholeText && report.column >= 0 &&
           static_cast<std::size_t>(report.column) <= length + 1;
}

void Report(const std::string& text, const Outcome& expected, const Outcome& got) {
    std::fprintf(
        stderr,
        "differs: \"%s\"\n  reference: %d 0x%08X, %llu draws\n  engine:    %d 0x%08X, %llu draws\n",
        Escaped(text).c_str(), expected.ok, expected.bits,
        static_cast<unsigned long long>(expected.draws.count), got.ok, got.bits,
        static_cast<unsigned long long>(got.draws.count));
}

}  // namespace

int main(int argc, char** argv) {
    const std::uint64_t count = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
    const std::uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    ExpressionGenerator generator(seed);
    std::uint64_t differences = 0;
    std::uint64_t successes = 0;
    std::uint64_t draws = 0;
    VariableBank variables{};
    for (std::uint64_t i = 0; i < count; ++i) {
        if (i % 4096 == 0) SetVariables(i / 4096, variables);
        const std::string text = generator.Next();
        const auto drawSeed = static_cast<std::uint32_t>(i);
        const Outcome expected =
            Run([&](float& v) { return reference::EvaluateExpression(text.c_str(), v); }, drawSeed);
        const Outcome got =
            Run([&](float& v) { return EvaluateExpression(text.c_str(), v, variables, nullptr); },
                drawSeed);
        FailureReport report{FailureReason::kCount, -1, nullptr};
        const Outcome reported =
            Run([&](float& v) { return EvaluateExpression(text.c_str(), v, variables, &report); },
                drawSeed);
        if (!(reported == expected) || !ReportFits(report, reported.ok, text.size())) {
            std::fprintf(stderr, "with a report (reason %d, column %d):\n",
                         static_cast<int>(report.reason), report.column);
            Report(text, expected, reported);
            if (++differences == 20) break;
        }
        successes += expected.ok;
        draws += expected.draws.count;
        if (!(got == expected)) {
            Report(text, expected, got);
            if (++differences == 20) break;
        }
    }
    std::printf("%llu expressions (seed %llu): %llu evaluate, %llu draws, %llu differ\n",
                static_cast<unsigned long long>(count), static_cast<unsigned long long>(seed),
                static_cast<unsigned long long>(successes), static_cast<unsigned long long>(draws),
                static_cast<unsigned long long>(differences));
    return differences == 0 ? 0 : 1;
}
