// quorvel-eval --table: rows from standard input or --range, one prepared expression.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "request/evaluation_request.h"
#include "tests/cli/quorvel_eval_run.h"
#include "tests/support/case_names.h"

namespace {

const std::string kError = "Quorvel解析错误!\n";

struct TableCase {
    std::vector<std::string> arguments;
    std::string input;
    std::string out;
    std::string err;
    int status;
};

class Tables : public testing::TestWithParam<TableCase> {};

std::string NameOf(const testing::TestParamInfo<TableCase>& info) {
    std::string text;
    for (const std::string& argument : info.param.arguments)
        text += argument + " ";
    return CaseName(text + info.param.input, info.index);
}

TEST_P(Tables, WriteOneLinePerRow) {
    const TableCase& c = GetParam();
    const EvalResult result = RunQuorvelEval({.arguments = c.arguments, .input = c.input});
    EXPECT_EQ(result.out, c.out);
    EXPECT_EQ(result.err, c.err);
    EXPECT_EQ(result.status, c.status);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Tables,
    testing::Values(
        TableCase{{"--table", "x*y+z"},
                  "1\n2 3\n2\t3 1\n  -1e-3 1000\t\r\n0x1p3 1\ninf 1\n-nan\n\n",
                  "0.000000\n6.000000\n7.000000\n-1.000000\n8.000000\ninf\n-nan\n0.000000\n",
                  "",
                  0},
        // Bad rows keep their place, draw nothing and do not stop the rest.
        TableCase{
            {"--table", "rand(32768)+x"},
            "0\n2.5kg\n0,5\n1 2 3 4\n0\n1e\n\n",
            "41.000000\n" + kError + kError + kError + "18467.000000\n" + kError + "6334.000000\n",
            "quorvel-eval: line 2: '2.5kg' is not a number\n"
            "quorvel-eval: line 3: '0,5' is not a number; the decimal separator is a "
            "period\n"
            "quorvel-eval: line 4: '4' is a fourth number; a row holds x, y and z\n"
            "quorvel-eval: line 6: '1e' is not a number\n",
            1},
        TableCase{{"--table", "x"},
                  std::string("1\n2\0003\n", 6) + std::string(1024, '1') + "\n4",
                  "1.000000\n" + kError + kError + "4.000000\n",
                  "quorvel-eval: line 2: holds a NUL byte\n"
                  "quorvel-eval: line 3: longer than 1023 bytes\n",
                  1},
        TableCase{{"--exact", "--table", "x/3"}, "1\n1e-7\n", "0.33333334\n3.3333333e-08\n", "", 0},
        TableCase{{"--table", "sin(x)", "--range", "x=0:0.3:0.1"},
                  "9\n",
                  "0.000000\t0.000000\n0.100000\t0.099833\n0.200000\t0.198669\n"
                  "0.300000\t0.295520\n",
                  "",
                  0},
        TableCase{{"-y", "2", "--bits", "--table", "x*y", "--range", "x=1:0:-0.5"},
                  "",
                  "0x3F800000\t0x40000000\n0x3F000000\t0x3F800000\n0x00000000\t0x00000000\n",
                  "",
                  0},
        TableCase{{"--table", "x", "--range", "x=0:0.7:0.35"},
                  "",
                  "0.000000\t0.000000\n0.350000\t0.350000\n0.700000\t0.700000\n",
                  "",
                  0},
        TableCase{{"--table", "x", "--range", "x=1:1:5"}, "", "1.000000\t1.000000\n", "", 0},
        // Refusals come before any row.
        TableCase{{"--table", "x", "--range", "x=0:1:0"},
                  "",
                  "",
                  "quorvel-eval: --range 'x=0:1:0': the step is 0\n",
                  2},
        TableCase{{"--table", "x", "--range", "x=0:1:-0.5"},
                  "",
                  "",
                  "quorvel-eval: --range 'x=0:1:-0.5': the step leads away from the stop\n",
                  2},
        TableCase{{"--table", "x", "--range", "y=0:1:1"},
                  "",
                  "",
                  "quorvel-eval: --range 'y=0:1:1': expected x=START:STOP:STEP\n",
                  2},
        TableCase{{"--table", "x", "--range", "x=0:1:0,5"},
                  "",
                  "",
                  "quorvel-eval: --range 'x=0:1:0,5': expected x=START:STOP:STEP, each wholly a "
                  "number\n",
                  2},
        TableCase{{"--table", "x", "--range", "x=0:inf:1"},
                  "",
                  "",
                  "quorvel-eval: --range 'x=0:inf:1': START, STOP and STEP must be finite\n",
                  2},
        TableCase{{"--table", "pi*x"},
                  "1\n",
                  "",
                  "quorvel-eval: 1:1: unknown name; did you mean PI\n",
                  2},
        TableCase{{"--table", "rand(1)+(1]"},
                  "1\n",
                  "",
                  "quorvel-eval: 1:11: this closer does not match the open bracket: write )\n",
                  2}),
    NameOf);

// Each row answers as the one-shot evaluation of the same text with -x does.
TEST(Tables, SeqColumnEqualsOneShotResults) {
    const std::string input = testing::TempDir() + "quorvel_table_seq.txt";
    ASSERT_EQ(std::system(("seq 0 0.001 1000 > " + input).c_str()), 0);
    const EvalResult result =
        RunQuorvelEval({.arguments = {"--table", "x*x+3*x-1"}, .stdinPath = input});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");

    std::FILE* numbers = std::fopen(input.c_str(), "r");
    ASSERT_NE(numbers, nullptr);
    std::string expected;
    char line[64];
    while (std::fgets(line, sizeof line, numbers) != nullptr) {
        line[std::strcspn(line, "\n")] = '\0';
        expected += EvaluationRequest("x*x+3*x-1", line, "0", "0").text;
        expected += '\n';
    }
    std::fclose(numbers);
    std::remove(input.c_str());
    EXPECT_EQ(std::count(expected.begin(), expected.end(), '\n'), 1000001);
    EXPECT_TRUE(result.out == expected) << "the table differs from the one-shot results";
}

}  // namespace
