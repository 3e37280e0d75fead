// Prepares arbitrary bytes as an expression and compares the program with text evaluation:
// quorvel_prepare must fail exactly where quorvel_explain fails, with the same reason, column and
// text, and a program must give quorvel_evaluate's bits and draws through quorvel_run and through
// quorvel_run_many, in place too. The input is the expression, then after a NUL byte up to twelve
// bytes that are the bits of x, y and z (missing bytes are zeros).

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <quorvel/quorvel.h>

#include "tests/engine/expression_generator.h"
#include "tests/engine/replayed_draws.h"

namespace {

constexpr int kRows = 3;
constexpr std::uint32_t kDrawSeed = 12345;

struct ProgramInput {
    std::string expression;
    float values[3];
};

ProgramInput SplitInput(const std::uint8_t* data, std::size_t size) {
    ProgramInput input{};
    const char* bytes = reinterpret_cast<const char*>(data);
    const void* nul = std::memchr(bytes, '\0', size);
    const std::size_t end =
        nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes) : size;
    input.expression.assign(bytes, end);
    std::uint8_t bits[sizeof input.values] = {};
    if (end < size) std::memcpy(bits, data + end + 1, std::min(size - end - 1, sizeof bits));
    std::memcpy(input.values, bits, sizeof bits);
    return input;
}

void Require(bool holds, const char* property, const ProgramInput& input) {
    if (holds) return;
    std::fprintf(stderr, "property violated: %s\n  expression (%zu bytes): %s\n", property,
                 input.expression.size(), Escaped(input.expression.substr(0, 300)).c_str());
    std::abort();
}

// Row r runs x scaled by r, so the rows differ.
float RowX(const ProgramInput& input, int r) {
    return input.values[0] * static_cast<float>(r);
}

struct Outcome {
    std::vector<std::uint32_t> bits;
    Draws draws;
    bool operator==(const Outcome&) const = default;
};

Outcome Evaluated(const ProgramInput& input) {
    Outcome outcome;
    RestartDraws(kDrawSeed);
    for (int r = 0; r < kRows; ++r) {
        float value = 1.0f;
        quorvel_evaluate(input.expression.c_str(), RowX(input, r), input.values[1], input.values[2],
                         &value);
        outcome.bits.push_back(std::bit_cast<std::uint32_t>(value));
    }
    outcome.draws = DrawsSince(kDrawSeed);
    return outcome;
}

Outcome Ran(const ProgramInput& input, const quorvel_program* program) {
    Outcome outcome;
    RestartDraws(kDrawSeed);
    for (int r = 0; r < kRows; ++r) {
        const float value = quorvel_run(program, RowX(input, r), input.values[1], input.values[2]);
        outcome.bits.push_back(std::bit_cast<std::uint32_t>(value));
    }
    outcome.draws = DrawsSince(kDrawSeed);
    return outcome;
}

// With inPlace, over the x column itself.
Outcome RanMany(const ProgramInput& input, const quorvel_program* program, bool inPlace) {
    float x[kRows], y[kRows], z[kRows], separate[kRows];
    for (int r = 0; r < kRows; ++r) {
        x[r] = RowX(input, r);
        y[r] = input.values[1];
        z[r] = input.values[2];
    }
    float* results = inPlace ? x : separate;
    RestartDraws(kDrawSeed);
    quorvel_run_many(program, kRows, x, y, z, results);
    Outcome outcome;
    for (float result : results == x ? x : separate)
        outcome.bits.push_back(std::bit_cast<std::uint32_t>(result));
    outcome.draws = DrawsSince(kDrawSeed);
    return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ProgramInput input = SplitInput(data, size);
    const char* expression = input.expression.c_str();
    float value = 0.0f;
    quorvel_failure explained;
    const bool evaluates = quorvel_explain(expression, 0.0f, 0.0f, 0.0f, &value, &explained);
    quorvel_failure failure;
    quorvel_program* program = quorvel_prepare(expression, &failure);
    Require((program != nullptr) == evaluates, "prepares exactly when it evaluates", input);
    Require(failure.reason == explained.reason && failure.column == explained.column &&
                std::strcmp(failure.text, explained.text) == 0,
            "fails as explain fails", input);
    if (program == nullptr) return 0;
    const Outcome expected = Evaluated(input);
    Require(Ran(input, program) == expected, "run gives the text's bits and draws", input);
    Require(RanMany(input, program, false) == expected, "run_many gives the text's bits and draws",
            input);
    Require(RanMany(input, program, true) == expected, "run_many in place gives the same", input);
    quorvel_release(program);
    return 0;
}
