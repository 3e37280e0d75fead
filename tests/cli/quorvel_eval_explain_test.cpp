#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tests/cli/quorvel_eval_run.h"

namespace {

const std::string kError = "Quorvel解析错误!\n";

struct Row {
    std::string expression;
    std::string line;  // what --explain writes after "quorvel-eval: 1:"
};

// "1+(", then the runs, each n times its character: the group that opens at column 3.
std::string GroupAfterOnePlus(std::initializer_list<std::pair<int, char>> runs) {
    std::string text = "1+(";
    for (const auto& [count, c] : runs)
        text.append(static_cast<std::size_t>(count), c);
    return text;
}

// Failing rows name their expression rather than their bytes.
void PrintTo(const Row& row, std::ostream* out) {
    *out << '"' << row.expression << '"';
}

class Explain : public testing::TestWithParam<Row> {};

TEST_P(Explain, GivesTheColumnAndReasonOnStandardError) {
    const Row& row = GetParam();
    const EvalResult result = RunQuorvelEval({.arguments = {"--explain", row.expression}});
    EXPECT_EQ(result.err, "quorvel-eval: 1:" + row.line + "\n") << row.expression;
    EXPECT_EQ(result.out, kError);
    EXPECT_EQ(result.status, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Columns, Explain,
    testing::Values(
        Row{"2*-3",
            "3: a sign is allowed only at the start; put the operand in brackets, as 2*(-3)"},
        Row{"1 2", "3: an operator (+ - * / % ^) belongs here"},
        Row{"E(1)",
            "2: an operator (+ - * / % ^) belongs here; there is no implied multiplication: "
            "write *"},
        Row{"sin(1,2)", "6: an operator (+ - * / % ^) belongs here; sin takes 1 argument"},
        Row{"1+", "3: the expression ends where an operand belongs"},
        Row{"sqrt(1+)", "8: an operand (a number, name or bracket) belongs here"},
        Row{"pi+1", "1: unknown name; did you mean PI"},
        Row{"SIN(1)", "1: unknown name; did you mean sin"},
        Row{"2*Pi", "3: unknown name; did you mean PI"}, Row{"x*foo", "3: unknown name 'foo'"},
        Row{"x+1e3", "3: a scientific number needs a point: write 1.0e3"},
        Row{"array_add(1)", "1: an array function cannot be called in an expression: array_add"},
        Row{"(1", "1: this bracket is never closed; close it with )"},
        Row{"[1)", "3: this closer does not match the open bracket: write ]"},
        Row{"(中]", "3: this closer does not match the open bracket: write )"},
        Row{"max(min(1,2),3)", "10: only the last argument may hold a call with several arguments"},
        Row{GroupAfterOnePlus({{256, '1'}, {1, ')'}}),
            "3: this bracket group holds more than 255 characters"},
        Row{GroupAfterOnePlus({{32, '('}, {1, '1'}, {33, ')'}}),
            "3: brackets nest more than 32 deep here"},
        Row{"rand2(1)", "8: too few arguments: rand2 takes 2 arguments"},
        Row{"sin 1",
            "5: a function needs its arguments in brackets: sin takes 1 argument, as "
            "sin(...)"},
        Row{"1+08",
            "3: a number that starts with 0 is octal and takes only the digits 0 to 7; "
            "write 8 for the decimal number"},
        Row{"1.2.3", "1: malformed number '1.2.3'"},
        Row{std::string(64, 'a'), "1: a name or number is longer than 63 characters"},
        Row{std::string("1.0e").append(64, '0'), "1: the exponent has more than 63 digits"},
        Row{"1\t+2", "1: malformed number '1\\t'; a tab is no space: only spaces may separate"},
        // Failures inside groups and arguments are told at their place in the whole text.
        Row{"max(1, sqrt(2*-3))",
            "15: a sign is allowed only at the start; put the operand in "
            "brackets, as 2*(-3)"},
        Row{"{[(1+pi)]}", "6: unknown name; did you mean PI"},
        Row{"   ", "0: the expression is empty"},
        Row{std::string("1").append(1023, ' '), "0: the expression is longer than 1023 bytes"}));

// Expression numbers count arguments or input lines from 1, failed or not, and standard output
// and the exit status stay what they are without the option, random draws included: each run
// starts the generator afresh, so a draw more or less would show in the later values.
TEST(ExplainStream, NumbersEveryExpressionAndLeavesOutputAlone) {
    const std::vector<std::string> expressions = {"rand(100)", "rand(100)+pi", "2", "1+",
                                                  "rand2(0,100)"};
    std::vector<std::string> arguments = {"--explain"};
    arguments.insert(arguments.end(), expressions.begin(), expressions.end());
    const EvalResult explained = RunQuorvelEval({.arguments = arguments});
    const EvalResult plain = RunQuorvelEval({.arguments = expressions});
    EXPECT_EQ(explained.err,
              "quorvel-eval: 2:11: unknown name; did you mean PI\n"
              "quorvel-eval: 4:3: the expression ends where an operand belongs\n");
    EXPECT_EQ(explained.out, plain.out);
    EXPECT_EQ(explained.status, plain.status);

    const EvalResult allGood = RunQuorvelEval({.arguments = {"--explain", "--exact", "1+2"}});
    EXPECT_EQ(allGood.out, "3\n");
    EXPECT_EQ(allGood.err, "");
    EXPECT_EQ(allGood.status, 0);
}

TEST(ExplainStream, TellsLinesThatCannotBeEvaluatedAtColumnZero) {
    const std::string input = std::string("1\n\n1\0+2\n", 8) + std::string(1024, '1') + "\n2*-3\n";
    const EvalResult result = RunQuorvelEval({.arguments = {"--explain"}, .input = input});
    EXPECT_EQ(result.out, "1.000000\n" + kError + kError + kError + kError);
    EXPECT_EQ(result.err,
              "quorvel-eval: 2:0: the expression is empty\n"
              "quorvel-eval: 3:0: the line holds a NUL byte\n"
              "quorvel-eval: 4:0: the expression is longer than 1023 bytes\n"
              "quorvel-eval: 5:3: a sign is allowed only at the start; put the operand in "
              "brackets, as 2*(-3)\n");
    EXPECT_EQ(result.status, 1);
}

// Where both streams meet, each reason follows its own result line.
TEST(ExplainStream, KeepsReasonsAfterTheirResultsInOneStream) {
    const EvalResult result = RunQuorvelEval(
        {.arguments = {"--explain"}, .input = "1\npi\n2\n1+\n", .errorsIntoOutput = true});
    EXPECT_EQ(result.out, "1.000000\n" + kError +
                              "quorvel-eval: 2:1: unknown name; did you mean PI\n2.000000\n" +
                              kError +
                              "quorvel-eval: 4:3: the expression ends where an operand "
                              "belongs\n");
}

}  // namespace
