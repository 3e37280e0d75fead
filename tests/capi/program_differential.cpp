// Compares prepared programs with text evaluation through the C interface on generated
// expressions: quorvel_prepare must fail exactly where quorvel_explain fails, with the same reason,
// column and text; quorvel_run must give quorvel_evaluate's bits for every value triple, and
// quorvel_run_many those of quorvel_evaluate row after row, with as many draws of rand and rand2
// from the same sequence. The values mix ordinary numbers with NaNs of many
// payloads, infinities, subnormals, zeros of both signs and divisors on both sides of the
// divide-by-tiny guard; some batches run in place, some with y or z missing, some across blocks.
//
//   quorvel-program-differential [COUNT [SEED]]   (defaults: 1000000 expressions, seed 1)
#include <quorvel/quorvel.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/engine/expression_generator.h"
#include "tests/engine/replayed_draws.h"

namespace {

constexpr int kTriples = 4;          // value triples per expression
constexpr int kLongBatchEvery = 64;  // every so many expressions run one batch across blocks
constexpr int kLongBatch = 600;

const std::uint32_t kValueBits[] = {
    0x00000000, 0x80000000, 0x3F800000, 0xBF800000, 0x3FC00000, 0xC0000000, 0x40490FDB,
    0x3E800000, 0x42C80000, 0x7F7FFFFF, 0xFF7FFFFF, 0x7F800000, 0xFF800000,  // max, infinities
    0x7FC00000, 0xFFC00000, 0x7FC00001, 0xFFC12345, 0x7FA00000, 0x7F800001,  // NaNs, two signalling
    0x00000001, 0x80000001, 0x007FFFFF, 0x00800000,  // subnormals, least normal
    0x34000000, 0xB4000000, 0x33FFFFFF, 0xB3FFFFFF, 0x322BCC77, 0x3089705F,  // around 2^-23
    0x4B800001, 0xCB000000, 0x3F7FFFFF, 0x3F800001, 0x4F000000, 0x5F000000,
};

class Values {
  public:
    explicit Values(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15u + 1) {}

    // One in four any bits at all, the rest from the table.
    float Next() {
        const std::uint64_t r = Step();
        if (r % 4 == 0) return std::bit_cast<float>(static_cast<std::uint32_t>(r >> 32));
        return std::bit_cast<float>(kValueBits[(r >> 8) % std::size(kValueBits)]);
    }

  private:
    std::uint64_t Step() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return state_;
    }
    std::uint64_t state_;
};

struct Outcome {
    std::vector<std::uint32_t> bits;
    Draws draws;
    bool operator==(const Outcome&) const = default;
};

struct Checker {
    std::uint64_t differences = 0;
    std::uint64_t prepared = 0;
    std::uint64_t triples = 0;
    std::uint64_t draws = 0;

    bool Differs(const std::string& text, const char* what, const Outcome& expected,
                 const Outcome& got) {
        if (expected == got) return false;
        std::size_t row = 0;
        while (row < expected.bits.size() && expected.bits[row] == got.bits[row])
            ++row;
        std::fprintf(stderr,
                     "%s differs: \"%s\"\n  row %zu: evaluate 0x%08X, program 0x%08X; "
                     "draws %llu and %llu\n",
                     what, Escaped(text).c_str(), row,
                     row < expected.bits.size() ? expected.bits[row] : 0,
                     row < got.bits.size() ? got.bits[row] : 0,
                     static_cast<unsigned long long>(expected.draws.count),
                     static_cast<unsigned long long>(got.draws.count));
        ++differences;
        return true;
    }

    void Failure(const std::string& text) {
        float value = 0.0f;
        quorvel_failure explained;
        const bool evaluated = quorvel_explain(text.c_str(), 0.0f, 0.0f, 0.0f, &value, &explained);
        quorvel_failure failure;
        std::memset(&failure, 0x55, sizeof failure);
        quorvel_program* program = quorvel_prepare(text.c_str(), &failure);
        quorvel_release(program);
        if ((program != nullptr) == evaluated && failure.reason == explained.reason &&
            failure.column == explained.column && std::strcmp(failure.text, explained.text) == 0)
            return;
        std::fprintf(
            stderr, "prepare differs: \"%s\"\n  explain %d %d:%d %s\n  prepare %d %d:%d %s\n",
            Escaped(text).c_str(), evaluated, explained.reason, explained.column, explained.text,
            program != nullptr, failure.reason, failure.column, failure.text);
        ++differences;
    }

    // One batch of rows: text evaluation row after row, quorvel_run on each row, and
    // quorvel_run_many over them all, each from the same draw state.
    void Rows(const std::string& text, const quorvel_program* program, Values& values,
              std::size_t count, std::uint32_t drawSeed, int variant) {
        std::vector<float> x(count), y(count), z(count);
        for (std::size_t r = 0; r < count; ++r) {
            x[r] = values.Next();
            y[r] = variant == 1 ? 0.0f : values.Next();
            z[r] = variant == 1 ? 0.0f : values.Next();
        }
        Outcome expected;
        RestartDraws(drawSeed);
        for (std::size_t r = 0; r < count; ++r) {
            float value = 1.0f;
            quorvel_evaluate(text.c_str(), x[r], y[r], z[r], &value);
            expected.bits.push_back(std::bit_cast<std::uint32_t>(value));
        }
        expected.draws = DrawsSince(drawSeed);
        triples += count;
        draws += expected.draws.count;

        Outcome single;
        RestartDraws(drawSeed);
        for (std::size_t r = 0; r < count; ++r)
            single.bits.push_back(
                std::bit_cast<std::uint32_t>(quorvel_run(program, x[r], y[r], z[r])));
        single.draws = DrawsSince(drawSeed);
        if (Differs(text, "quorvel_run", expected, single)) return;

        // Variant 0: a separate results array; 1: y and z missing; 2: in place over x.
        std::vector<float> separate(count, 7.0f);
        float* results = variant == 2 ? x.data() : separate.data();
        RestartDraws(drawSeed);
        quorvel_run_many(program, count, x.data(), variant == 1 ? nullptr : y.data(),
                         variant == 1 ? nullptr : z.data(), results);
        Outcome many;
        for (std::size_t r = 0; r < count; ++r)
            many.bits.push_back(std::bit_cast<std::uint32_t>(results[r]));
        many.draws = DrawsSince(drawSeed);
        Differs(text, "quorvel_run_many", expected, many);
    }
};

}  // namespace

int main(int argc, char** argv) {
    const std::uint64_t count = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
    const std::uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    ExpressionGenerator generator(seed);
    Values values(seed);
    Checker checker;
    for (std::uint64_t i = 0; i < count && checker.differences < 20; ++i) {
        const std::string text = generator.Next();
        checker.Failure(text);
        quorvel_program* program = quorvel_prepare(text.c_str(), nullptr);
        if (program == nullptr) continue;
        ++checker.prepared;
        const auto drawSeed = static_cast<std::uint32_t>(i);
        const int variant = static_cast<int>(i % 3);
        checker.Rows(text, program, values, kTriples, drawSeed, variant);
        if (i % kLongBatchEvery == 0)
            checker.Rows(text, program, values, kLongBatch, drawSeed, variant);
        quorvel_release(program);
    }
    std::printf(
        "%llu expressions (seed %llu): %llu prepared, %llu value triples, %llu draws, "
        "%llu differ\n",
        static_cast<unsigned long long>(count), static_cast<unsigned long long>(seed),
        static_cast<unsigned long long>(checker.prepared),
        static_cast<unsigned long long>(checker.triples),
        static_cast<unsigned long long>(checker.draws),
        static_cast<unsigned long long>(checker.differences));
    return checker.differences == 0 ? 0 : 1;
}
