#include <gtest/gtest.h>
#include <locale.h>

#include <unistd.h>

#include <cctype>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/line_reader.h"
#include "engine/name_tables.h"
#include "tests/cli/quorvel_eval_run.h"
#include "tests/support/case_names.h"

namespace {

const std::string kError = "Quorvel解析错误!\n";
const std::string kOneIn1023 = "1" + std::string(1022, ' ');  // the longest expression
const std::string kOneIn1024 = kOneIn1023 + " ";

struct Case {
    std::vector<std::string> arguments;
    std::string input;
    std::string out;
    int status;
};

class ArgumentsAndInput : public testing::TestWithParam<Case> {};

// ctest lists each row by its arguments and input rather than by its bytes.
std::string NameOf(const testing::TestParamInfo<Case>& info) {
    std::string text;
    for (const std::string& argument : info.param.arguments)
        text += argument + " ";
    return CaseName(text + info.param.input, info.index);
}

TEST_P(ArgumentsAndInput, PrintOneLinePerExpression) {
    const Case& c = GetParam();
    const EvalResult result = RunQuorvelEval({.arguments = c.arguments, .input = c.input});
    EXPECT_EQ(result.out, c.out);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.err, "");
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ArgumentsAndInput,
    testing::Values(
        Case{{"-x", "1.5", "x*2", "2^3^2", "1+"}, "", "3.000000\n64.000000\n" + kError, 1},
        Case{{"1+2*3"}, "", "7.000000\n", 0},
        Case{{"-2^2", "-(1+2)"}, "", "4.000000\n-3.000000\n", 0},
        Case{{"-x", "-1.5", "-y", "2", "-z", "3", "x+y+z"}, "", "3.500000\n", 0},
        Case{{"-x", "2", "--", "-x"}, "", "-2.000000\n", 0},
        Case{{"-x", "2", "1", "-x", "--help"}, "", "1.000000\n-2.000000\n" + kError, 1},
        Case{{"-x", "2.5kg", "x", "x*0+y"}, "x\n", "2.500000\n0.000000\n", 0},
        Case{{"-x", "1,5", "-y", " 7", "-z", "abc", "x+y+z"}, "", "8.000000\n", 0},
        Case{{"-x", "1e39", "-y", "nan", "x", "-x", "y"}, "", "inf\n-inf\nnan\n", 0},
        Case{{"", kOneIn1023, kOneIn1024}, "", kError + "1.000000\n" + kError, 1},
        Case{{"--exact", "0.025", "1.1e11", "16777217", "0.1"},
             "",
             "0.025\n110000005120\n16777216\n0.1\n",
             0},
        Case{{"--exact", "-x", "-0", "-y", "-nan", "x", "y", "1+"}, "", "-0\n-nan\n" + kError, 1},
        Case{{"--exact", "-x1e-8", "-y1e39", "16777216", "1/3", "x", "y", "-y"},
             "",
             "16777216\n0.33333334\n1e-08\ninf\n-inf\n",
             0},
        Case{{"--bits", "-x-0", "1", "-2", "1+", "0", "x"},
             "",
             "0x3F800000\n0xC0000000\n" + kError + "0x00000000\n0x80000000\n",
             1},
        Case{{"--bits", "--exact", "0.1"}, "", "0.1\n", 0},
        Case{{"--exact", "--bits", "0.1"}, "", "0x3DCCCCCD\n", 0},
        Case{{"-x5", "-y2.5", "-z-1", "x", "y", "z"}, "", "5.000000\n2.500000\n-1.000000\n", 0},
        Case{{"-x", "-3", "-y-x", "x", "y"}, "", "-3.000000\n0.000000\n", 0},
        Case{{"-x2", "--", "-x*3", "-h"}, "", "-6.000000\n-0.000000\n", 0},
        Case{{"-2", "-x5"}, "", "-2.000000\n" + kError, 1}),
    NameOf);

INSTANTIATE_TEST_SUITE_P(
    StandardInput, ArgumentsAndInput,
    testing::Values(
        Case{{}, "", "", 0}, Case{{}, "1+2\n", "3.000000\n", 0},
        Case{{}, "1+2\r\n2*3\r\n", "3.000000\n6.000000\n", 0},
        Case{{}, "1+2\n2*3", "3.000000\n6.000000\n", 0}, Case{{}, "2*3\r", "6.000000\n", 0},
        Case{{}, "\n\r\n", kError + kError, 1},
        Case{{}, std::string("1\0+2\n3\n1+2\0\n", 12), kError + "3.000000\n" + kError, 1},
        Case{{}, "\x01\x7f\n\xff\xfe\x80\n1\n", kError + kError + "1.000000\n", 1},
        Case{{"-x", "4"}, "x*foo\nx\n", kError + "4.000000\n", 1},
        Case{{"--exact", "-x", "0.25"}, "x\n", "0.25\n", 0},
        Case{{"-x5", "--bits"}, "x\n-x\n", "0x40A00000\n0xC0A00000\n", 0},
        Case{{},
             kOneIn1023 + "\r\n" + kOneIn1024 + "\r\n" + kOneIn1024 + "\n" + kOneIn1023,
             "1.000000\n" + kError + kError + "1.000000\n",
             1}),
    NameOf);

// Long and short lines mixed so that lines straddle every position of the input blocks.
TEST(QuorvelEvalStream, LosesNoLineAcrossBlocks) {
    const std::vector<std::pair<std::string, std::string>> kinds = {
        {"1+2\n", "3.000000\n"}, {"x\r\n", "0.000000\n"},           {"\n", kError},
        {"2^\n", kError},        {kOneIn1023 + "\n", "1.000000\n"}, {kOneIn1024 + "\n", kError}};
    std::string input, expected;
    for (int line = 0; line < 60000; ++line) {
        const auto& kind = kinds[(line * 7 + line / 5) % kinds.size()];
        input += kind.first;
        expected += kind.second;
    }
    const EvalResult result = RunQuorvelEval({.input = input});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.out == expected);
}

// Input from a file arrives in whole blocks, so filler puts each line's end around the first
// block's end, where a pending partial line is carried over.
TEST(QuorvelEvalStream, LinesAtTheBlockEdgeKeepTheirLimit) {
    const std::pair<std::string, std::string> lines[] = {{kOneIn1023 + "\r\n", "1.000000\n"},
                                                         {kOneIn1024 + "\n", kError},
                                                         {kOneIn1024 + "\r\n", kError}};
    for (const auto& [line, result] : lines) {
        for (int shift = -3; shift <= 3; ++shift) {
            const std::size_t fillerLength = kInputBlock - line.size() + shift;
            const std::size_t shortLines = (fillerLength - 100) / 2;
            std::string input(fillerLength - 2 * shortLines - 1, ' ');
            input[0] = '1';
            input += '\n';
            std::string expected = "1.000000\n";
            for (std::size_t count = 0; count < shortLines; ++count) {
                input += "1\n";
                expected += "1.000000\n";
            }
            const EvalResult run = RunQuorvelEval({.input = input + line + "1+2\n"});
            EXPECT_TRUE(run.out == expected + result + "3.000000\n") << line.size() << shift;
        }
    }
}

TEST(QuorvelEvalStream, SkipsOverlongLinesInBoundedMemory) {
    const std::string line(5 << 20, '1');
    EXPECT_EQ(RunQuorvelEval({.input = line + "\n1+2\n"}).out, kError + "3.000000\n");
    EXPECT_EQ(RunQuorvelEval({.input = "1+2\n" + line}).out, "3.000000\n" + kError);
    EXPECT_LT(PeakResidentKbWhileReading(line), PeakResidentKbWhileReading("1+2") + 1024);
}

TEST(QuorvelEvalUsage, ReportsMistakesAndAnswersHelpAndVersion) {
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string outStart, errPart;
    } rows[] = {
        {{"--exat", "1"}, 2, "", "unknown option '--exat'\nUsage: quorvel-eval"},
        {{"-y"}, 2, "", "missing value text after '-y'\nUsage: quorvel-eval"},
        {{"--exact", "-z"}, 2, "", "missing value text after '-z'"},
        {{"-x", "1", "--help"}, 0, "Usage: quorvel-eval [--exact|--bits]", ""},
        {{"-h", "1"}, 0, "Usage: quorvel-eval [--exact|--bits]", ""},
        {{"-x5", "--bits", "-h"}, 0, "Usage: quorvel-eval [--exact|--bits]", ""},
        {{"--bit", "1"}, 2, "", "unknown option '--bit'"},
        {{"--version", "--exat"}, 0, "quorvel-eval (Quorvel) ", ""},
    };
    for (const auto& row : rows) {
        const EvalResult result = RunQuorvelEval({.arguments = row.arguments});
        EXPECT_EQ(result.status, row.status) << row.arguments[0];
        EXPECT_EQ(result.out.substr(0, row.outStart.size()), row.outStart);
        EXPECT_NE(result.err.find(row.errPart), std::string::npos) << result.err;
        EXPECT_EQ(result.err.empty(), row.errPart.empty());
    }
}

// The names an expression can call, from the registry itself.
std::vector<std::string> CallableFunctionNames() {
    RegisterBuiltins();
    std::vector<std::string> names;
    for (std::uint32_t row = 0; row < g_functionRegistry.count; ++row) {
        const SymbolDescriptor& function = g_functionRegistry.rows[row];
        if (function.kind >= kFunction1 && function.kind <= kFunction4)
            names.push_back(function.name);
    }
    return names;
}

// Whether text holds word with no letter or digit on either side (a call when word ends in
// "(", which may be followed by its arguments).
bool ContainsWord(const std::string& text, const std::string& word) {
    const auto isWordByte = [](char c) { return std::isalnum(static_cast<unsigned char>(c)); };
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const std::size_t end = at + word.size();
        const bool openEnded = word.back() == '(' || end == text.size();
        if ((at == 0 || !isWordByte(text[at - 1])) && (openEnded || !isWordByte(text[end])))
            return true;
    }
    return false;
}

TEST(QuorvelEvalUsage, HelpNamesEveryCallableFunction) {
    const std::string help = RunQuorvelEval({.arguments = {"--help"}}).out;
    const std::vector<std::string> names = CallableFunctionNames();
    EXPECT_EQ(names.size(), 39u);
    for (const std::string& name : names)
        EXPECT_TRUE(ContainsWord(help, name)) << name;
    for (const char* surprise : {"1e3", "2*-3", "2*3^2", "1,5", "0x1F", "0y101"})
        EXPECT_TRUE(ContainsWord(help, surprise)) << surprise;
}

// The manual as man shows it, with groff's warnings, in lines wide enough not to hyphenate.
std::string RenderManual(const std::string& page) {
    const std::string path = std::string(QUORVEL_MANUAL_DIR) + "/" + page + ".1.gz";
    if (access(path.c_str(), R_OK) != 0) return "";
    const std::string command = "MANWIDTH=250 man --warnings -l " + path + " 2>&1";
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char block[4096];
        for (std::size_t got; (got = fread(block, 1, sizeof block, pipe)) > 0;)
            text.append(block, got);
        pclose(pipe);
    }
    return text;
}

TEST(QuorvelEvalManual, RendersAndNamesEveryFunctionAndOption) {
    const std::string manual = RenderManual("quorvel-eval");
    if (manual.empty()) GTEST_SKIP() << "the manuals are not built";
    EXPECT_EQ(manual.find("warning"), std::string::npos) << manual;
    for (const std::string& name : CallableFunctionNames())
        EXPECT_TRUE(ContainsWord(manual, name + "(")) << name;
    for (const char* option :
         {"--exact", "--bits", "--explain", "-h", "--help", "--version", "-x5", "1e3"})
        EXPECT_TRUE(ContainsWord(manual, option)) << option;
    const std::string window = RenderManual("quorvel");
    if (window.empty()) return;  // built without the window
    EXPECT_EQ(window.find("warning"), std::string::npos) << window;
    for (const char* part :
         {"USING THE WINDOW", "X, Y AND Z", "tooltip", "quorvel-eval(1)", "quorvel-eval --explain"})
        EXPECT_NE(window.find(part), std::string::npos) << part;
}

TEST(QuorvelEvalFailures, FailedReadOrWriteExitsThreeWithMessage) {
    const struct {
        EvalRun run;
        std::string errPart;
    } rows[] = {
        {{.arguments = {"1+2"}, .stdoutPath = "/dev/full"}, "cannot write standard output"},
        {{.input = "1+2\n", .stdoutPath = "/dev/full"}, "cannot write standard output"},
        {{.arguments = {"--help"}, .stdoutPath = "/dev/full"}, "cannot write standard output"},
        {{.stdinPath = "/"}, "cannot read standard input"},
    };
    for (const auto& row : rows) {
        const EvalResult result = RunQuorvelEval(row.run);
        EXPECT_EQ(result.status, 3);
        EXPECT_NE(result.err.find(row.errPart), std::string::npos) << result.err;
    }
}

// A reader that has gone ends quorvel-eval as it ends other filters: by SIGPIPE, silently.
TEST(QuorvelEvalFailures, ClosedPipeEndsQuietlyBySigpipe) {
    for (const EvalRun& run : {EvalRun{.arguments = {"1+2"}, .stdoutClosedPipe = true},
                               EvalRun{.input = "1+2\n", .stdoutClosedPipe = true},
                               EvalRun{.arguments = {"--help"}, .stdoutClosedPipe = true}}) {
        const EvalResult result = RunQuorvelEval(run);
        EXPECT_EQ(result.status, 128 + SIGPIPE);
        EXPECT_EQ(result.err, "");
    }
}

TEST(QuorvelEvalLocale, CommaLocaleKeepsThePeriod) {
    const locale_t comma = newlocale(LC_ALL_MASK, "de_DE.UTF-8", locale_t{});
    if (comma == locale_t{}) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    freelocale(comma);
    const EvalResult result =
        RunQuorvelEval({.arguments = {"-x", "1.5", "x", "x/3"}, .locale = "de_DE.UTF-8"});
    EXPECT_EQ(result.out, "1.500000\n0.500000\n");
    EXPECT_EQ(result.status, 0);
}

}  // namespace
