// Prepared programs as a program sees them, through the header and the shared library: the
// cases the generated comparison meets too seldom to rely on.
#include <quorvel/quorvel.h>
#include <quorvel/quorvel.hpp>

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::uint32_t Bits(float value) {
    return std::bit_cast<std::uint32_t>(value);
}

float FromBits(std::uint32_t bits) {
    return std::bit_cast<float>(bits);
}

float Evaluated(const char* expression, float x, float y, float z) {
    float value = 99.0f;
    EXPECT_TRUE(quorvel_evaluate(expression, x, y, z, &value)) << expression;
    return value;
}

struct RunRow {
    const char* expression;
    std::uint32_t x, y, z;
};

// NaNs of two payloads in both orders, a signalling NaN passed on untouched, tiny divisors, and
// constants worked out once at preparation.
const RunRow kRunRows[] = {
    {"x+y", 0x7FC00001, 0xFFC12345, 0},
    {"y+x", 0x7FC00001, 0xFFC12345, 0},
    {"x*y", 0x7FC00001, 0xFFC12345, 0},
    {"y*x", 0x7FC00001, 0xFFC12345, 0},
    {"x-y", 0x7FC00001, 0xFFC12345, 0},
    {"x/y", 0x7FC00001, 0xFFC12345, 0},
    {"x+(y-y)", 0x7FC00001, 0x7F800000, 0},
    {"positive(x)", 0x7FA00000, 0, 0},
    {"+x", 0x7FA00000, 0, 0},
    {"-x", 0x7FA00000, 0, 0},
    {"x/y", 0x3F800000, 0x33FFFFFF, 0},
    {"x/y", 0x80000000, 0x00000001, 0},
    {"x%y", 0x40400000, 0xB3FFFFFF, 0},
    {"x/y", 0x3F800000, 0x34000000, 0},
    {"sin(x)*cos(x)+sqrt(2)", 0x3F000000, 0, 0},
    {"max(x,y)+min(1,2)*3", 0xC0000000, 0x80000000, 0},
    {"-2^2+x", 0, 0, 0},
    {"lerp(x,2,0.5)", 0x7F800000, 0, 0},
    {"clamp(x, y, z)", 0x7FC00000, 0x3F800000, 0x00000000},
    {"a+w*x+PI", 0x3F800000, 0, 0},
    {"lerp(x, y, z)", 0x7FC00001, 0xFFC12345, 0x7FC00321},
    {"lerp(x, y, z)", 0x3F800000, 0xFFC12345, 0x7FC00321},
    {"lerp(x, y, z)", 0x7FC00001, 0x40000000, 0x7FC00321},
    {"lerp(x, y, z)", 0x7FA00000, 0x7F800000, 0x00000001},
    {"max(x, y)", 0x80000000, 0x00000000, 0},
    {"min(x, y)", 0x00000000, 0x80000000, 0},
    {"max(x, y)+min(y, x)", 0x7FC00001, 0x3F800000, 0},
    {"min(x, y)*max(y, x)", 0x3F800000, 0xFFC12345, 0},
    {"add4(x, y, z, 1)+gray(z, y, x)", 0x7F7FFFFF, 0x7F7FFFFF, 0xFF7FFFFF},
};

TEST(QuorvelRun, GivesTheBitsOfTextEvaluation) {
    for (const RunRow& row : kRunRows) {
        quorvel_failure failure;
        quorvel_program* program = quorvel_prepare(row.expression, &failure);
        ASSERT_NE(program, nullptr) << row.expression;
        EXPECT_EQ(failure.reason, QUORVEL_REASON_NONE);
        EXPECT_STREQ(failure.text, "");
        const float x = FromBits(row.x), y = FromBits(row.y), z = FromBits(row.z);
        EXPECT_EQ(Bits(quorvel_run(program, x, y, z)), Bits(Evaluated(row.expression, x, y, z)))
            << row.expression;
        float results[3];
        const float xs[3] = {x, x, x}, ys[3] = {y, y, y}, zs[3] = {z, z, z};
        quorvel_run_many(program, 3, xs, ys, zs, results);
        EXPECT_EQ(Bits(results[2]), Bits(Evaluated(row.expression, x, y, z))) << row.expression;
        quorvel_release(program);
    }
}

// The rows above mean something only if the order of two NaNs shows.
TEST(QuorvelRun, OperandOrderOfTwoNaNsShows) {
    const float x = FromBits(0x7FC00001), y = FromBits(0xFFC12345);
    EXPECT_NE(Bits(Evaluated("x+y", x, y, 0.0f)), Bits(Evaluated("y+x", x, y, 0.0f)));
    EXPECT_NE(Bits(Evaluated("x*y", x, y, 0.0f)), Bits(Evaluated("y*x", x, y, 0.0f)));
}

TEST(QuorvelPrepare, FailsAsExplainFails) {
    std::string longest(1023, ' ');
    longest.front() = 'x';
    std::string tooLong(1024, ' ');
    tooLong.front() = 'x';
    const char* const expressions[] = {
        "",    "  ",          "1+",       "pi",           "x+1e3",           "2*-3",
        "(1]", "sin 1",       "rand2(1)", "array_add(1)", "max(min(1,2),3)", "08",
        "1 2", "rand(1)+(1]", "sqrt(1+)", "x\tb",         tooLong.c_str(),   longest.c_str(),
        "x*y",
    };
    for (const char* expression : expressions) {
        float value = 0.0f;
        quorvel_failure explained;
        const bool evaluates = quorvel_explain(expression, 0.0f, 0.0f, 0.0f, &value, &explained);
        quorvel_failure failure;
        std::memset(&failure, '#', sizeof failure);
        quorvel_program* program = quorvel_prepare(expression, &failure);
        EXPECT_EQ(program != nullptr, evaluates) << expression;
        EXPECT_EQ(failure.reason, explained.reason) << expression;
        EXPECT_EQ(failure.column, explained.column) << expression;
        EXPECT_STREQ(failure.text, explained.text) << expression;
        quorvel_release(program);
        program = quorvel_prepare(expression, nullptr);
        EXPECT_EQ(program != nullptr, evaluates) << expression;
        quorvel_release(program);
    }
}

TEST(QuorvelPrepare, NullExpressionFailsAsAnEmptyOne) {
    quorvel_failure failure;
    EXPECT_EQ(quorvel_prepare(nullptr, &failure), nullptr);
    EXPECT_EQ(failure.reason, QUORVEL_REASON_EMPTY);
    EXPECT_EQ(failure.column, 0);
    quorvel_release(nullptr);
}

// Rows across several blocks, in place over each input in turn and with missing inputs read as
// zeros, against quorvel_run row by row.
TEST(QuorvelRunMany, EqualsRunRowByRow) {
    constexpr std::size_t kRows = 1000;
    const char* const expressions[] = {"x*x+3*x-1", "(((x+1)*2)-3)/4", "x^2+y^2",
                                       "x/y-z",     "lerp(x, y, z)",   "y",
                                       "2+3",       "atan2(z, x)",     "abs(x-1)+abs(y)^2"};
    for (const char* expression : expressions) {
        quorvel_program* program = quorvel_prepare(expression, nullptr);
        ASSERT_NE(program, nullptr) << expression;
        std::vector<float> inputs[3];
        for (int i = 0; i < 3; ++i) {
            for (std::size_t r = 0; r < kRows; ++r)
                inputs[i].push_back(static_cast<float>(r) * 0.37f - static_cast<float>(i * 100));
        }
        for (int missing = -1; missing < 3; ++missing) {
            for (int inPlace = -1; inPlace < 3; ++inPlace) {
                std::vector<float> columns[3] = {inputs[0], inputs[1], inputs[2]};
                const float* pointers[3] = {columns[0].data(), columns[1].data(),
                                            columns[2].data()};
                if (missing >= 0) pointers[missing] = nullptr;
                std::vector<float> separate(kRows, 99.0f);
                float* results = inPlace >= 0 ? columns[inPlace].data() : separate.data();
                quorvel_run_many(program, kRows, pointers[0], pointers[1], pointers[2], results);
                for (std::size_t r = 0; r < kRows; ++r) {
                    const float value = missing == 0 ? 0.0f : inputs[0][r];
                    const float expected =
                        quorvel_run(program, value, missing == 1 ? 0.0f : inputs[1][r],
                                    missing == 2 ? 0.0f : inputs[2][r]);
                    ASSERT_EQ(Bits(results[r]), Bits(expected))
                        << expression << " row " << r << ", missing " << missing << ", in place "
                        << inPlace;
                }
            }
        }
        float untouched = 5.0f;
        quorvel_run_many(program, 0, nullptr, nullptr, nullptr, &untouched);
        EXPECT_EQ(untouched, 5.0f);
        quorvel_release(program);
    }
    quorvel_run_many(nullptr, 3, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(quorvel_run(nullptr, 1.0f, 2.0f, 3.0f), 0.0f);
}

// The C++ layer: a failed program is false and says why; the many-row call stops at the shortest
// span given, and an empty span reads zeros.
TEST(QuorvelProgramClass, WrapsTheCalls) {
    quorvel_failure failure;
    const quorvel::program broken("1+", &failure);
    EXPECT_FALSE(broken);
    EXPECT_EQ(failure.reason, QUORVEL_REASON_OPERAND_EXPECTED);

    const quorvel::program program("x*y+z");
    ASSERT_TRUE(program);
    EXPECT_EQ(program(2.0f, 3.0f, 1.0f), 7.0f);
    EXPECT_EQ(program(2.0f), 0.0f);
    const std::vector<float> x = {1.0f, 2.0f, 3.0f};
    const std::vector<float> y = {10.0f, 20.0f};
    std::vector<float> results(3, -1.0f);
    program.run_many(x, y, {}, results);
    EXPECT_EQ(results, (std::vector<float>{10.0f, 40.0f, -1.0f}));
}

}  // namespace
