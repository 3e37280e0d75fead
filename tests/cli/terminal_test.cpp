#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "tests/cli/terminal_session.h"

namespace {

// Keys as a terminal sends them.
const std::string kUp = "\x1b[A", kDown = "\x1b[B", kLeft = "\x1b[D", kHome = "\x1b[H",
                  kEnd = "\x1b[F", kCtrlA = "\x01", kCtrlC = "\x03", kCtrlD = "\x04",
                  kCtrlE = "\x05", kCtrlK = "\x0b", kCtrlU = "\x15", kCtrlW = "\x17",
                  kBackspace = "\x7f";

std::string Repeated(const std::string& text, int times) {
    std::string repeated;
    for (int copy = 0; copy < times; ++copy)
        repeated += text;
    return repeated;
}

TEST(QuorvelEvalTerminal, EditsLinesAndRecallsThisSessionsHistory) {
    char home[] = "/tmp/quorvel-eval-home-XXXXXX";
    ASSERT_NE(mkdtemp(home), nullptr);
    const struct {
        std::string keys;
        std::string answer;
    } rows[] = {
        {"1+2\r", "3.000000"},
        {"x*5\r", "10.000000"},
        {kUp + kUp + "0\r", "21.000000"},                         // 1+2 recalled, then 1+20
        {kUp + kLeft + kLeft + kBackspace + "\r", "120.000000"},  // 1+20 without its +
        {kUp + kUp + kUp + kDown + "\r", "21.000000"},            // back down from 10 to 1+20
        {"x+1" + kCtrlA + "7*" + kCtrlE + "0\r", "24.000000"},
        {"sin(1) 999" + kCtrlW + "\r", "0.841471"},
        {"555" + kHome + "4*" + kEnd + "\r", "2220.000000"},
        {"abc" + kCtrlU + "8\r", "8.000000"},
        {"12345" + kCtrlA + kCtrlK + "9\r", "9.000000"},
        {"2^3" + kCtrlD + kLeft + kCtrlD + "4\r", "16.000000"},  // Ctrl-D on a partial line
    };
    TerminalSession session({"-x", "2"}, home);
    ASSERT_TRUE(session.WaitFor("> "));
    for (const auto& row : rows) {
        const std::size_t typedAt = session.Screen().size();
        session.Type(row.keys);
        // Each answer starts on a line of its own, under the line that was typed.
        EXPECT_TRUE(session.WaitFor("\r\n" + row.answer + "\r\n", typedAt)) << row.answer << "\n"
                                                                            << session.Screen();
    }
    session.Type(kCtrlD);
    EXPECT_EQ(session.Finish(), 0) << session.Screen();
    EXPECT_EQ(session.Screen().substr(session.Screen().size() - 4), "> \r\n");
    EXPECT_EQ(session.Screen().find("Quorvel"), std::string::npos) << session.Screen();

    DIR* directory = opendir(home);
    int entries = 0;
    while (readdir(directory) != nullptr)
        ++entries;
    closedir(directory);
    rmdir(home);
    EXPECT_EQ(entries, 2) << "the session left files in HOME";
}

TEST(QuorvelEvalTerminal, CtrlCDropsTheLineAndKeepsRunning) {
    TerminalSession session({});
    ASSERT_TRUE(session.WaitFor("> "));
    session.Type("777");
    ASSERT_TRUE(session.WaitFor("777"));
    session.Type(kCtrlC);
    session.Type("6\r");
    EXPECT_TRUE(session.WaitFor("\r\n6.000000\r\n"));
    session.Type(kUp + "*2\r");  // the dropped line is not in the history
    EXPECT_TRUE(session.WaitFor("\r\n12.000000\r\n")) << session.Screen();
    EXPECT_TRUE(session.Running());
    session.Type(kCtrlD);
    EXPECT_EQ(session.Finish(), 0);
    EXPECT_EQ(session.Screen().find("777.000000"), std::string::npos);
}

TEST(QuorvelEvalTerminal, CtrlDOnAnEmptyLineEndsOnANewLine) {
    TerminalSession session({});
    ASSERT_TRUE(session.WaitFor("> "));
    session.Type(kCtrlD);
    EXPECT_EQ(session.Finish(), 0);
    EXPECT_EQ(session.Screen().substr(session.Screen().size() - 4), "> \r\n") << session.Screen();
}

// A pasted line far past the longest expression is answered as too long, with its reason, and
// the session goes on; the limit is generous, since speed is measured, not tested.
TEST(QuorvelEvalTerminal, PastedTenMegabyteLineIsAnsweredAndTheNextLineWorks) {
    TerminalSession session({"--explain"});
    ASSERT_TRUE(session.WaitFor("> "));
    session.Paste(Repeated("1+", 5 << 20) + "\r");
    EXPECT_TRUE(session.WaitFor("\r\nQuorvel", 0, 20)) << session.Screen().size();
    EXPECT_TRUE(session.WaitFor("longer than 1023 bytes", 0, 20));
    const std::size_t answeredAt = session.Screen().size();
    session.Type("1+2\r");
    EXPECT_TRUE(session.WaitFor("\r\n3.000000\r\n", answeredAt, 20));
    EXPECT_LT(session.Screen().size(), 64u * 1024) << "the whole line was drawn";
    session.Type(kUp + "\r");  // only the line that could be evaluated was remembered
    EXPECT_TRUE(session.WaitFor("\r\n3.000000\r\n> ", answeredAt + 20));
    session.Type(kCtrlD);
    EXPECT_EQ(session.Finish(), 1);
}

// After resizes the line being edited is drawn again in place, not after its old self; a line
// that wraps is drawn again from its first row (one row up from the cursor), its old rows
// cleared.
TEST(QuorvelEvalTerminal, ResizesRedrawTheEditedLineInPlace) {
    const struct {
        std::string typed, last, answer, redrawnFrom;
    } rows[] = {
        {"4*", "5", "20.000000", "\r\x1b[J> 4*"},
        {Repeated("1+", 50), "1", "51.000000", "\x1b[1A\r\x1b[J> 1+1+"},
    };
    for (const auto& row : rows) {
        TerminalSession session({});
        ASSERT_TRUE(session.WaitFor("> "));
        session.Type(row.typed);
        ASSERT_TRUE(session.WaitFor(row.typed.substr(row.typed.size() - 2)));
        const std::size_t typedAt = session.Screen().size();
        for (int resize = 0; resize < 100; ++resize)
            session.Resize(resize % 2 == 0 ? 90 : 80);
        EXPECT_TRUE(session.WaitFor(row.redrawnFrom, typedAt)) << session.Screen();
        session.Type(row.last + "\r");
        EXPECT_TRUE(session.WaitFor("\r\n" + row.answer + "\r\n")) << session.Screen();
        EXPECT_EQ(session.Screen().find(row.typed + "> "), std::string::npos) << session.Screen();
        session.Type(kCtrlD);
        EXPECT_EQ(session.Finish(), 0);
    }
}

// At a terminal, and only there: a greeting, the reason under a failure, nothing for an empty
// line, the language summary for help, and quit or exit to leave.
TEST(QuorvelEvalTerminal, AnswersTheSessionsOwnWords) {
    const struct {
        std::string keys;
        std::string shown;  // after the typed line
    } rows[] = {
        {"1+\r",
         "Quorvel解析错误!\r\nquorvel-eval: 1:3: the expression ends where an operand belongs"},
        {"\r", "\r\n> "},
        {"  \r", "\r\n> "},
        {"help\r", "atan2(y, x)"},
        {"pi\r", "quorvel-eval: 2:1: unknown name; did you mean PI"},
        {"2\r", "\r\n2.000000\r\n"},
    };
    for (const char* leave : {"quit\r", " exit \r"}) {
        TerminalSession session({});
        ASSERT_TRUE(session.WaitFor("help"));
        ASSERT_TRUE(session.WaitFor("> "));
        EXPECT_NE(session.Screen().find("Ctrl-D"), std::string::npos) << session.Screen();
        for (const auto& row : rows) {
            const std::size_t typedAt = session.Screen().size();
            session.Type(row.keys);
            EXPECT_TRUE(session.WaitFor(row.shown, typedAt)) << row.keys << session.Screen();
            ASSERT_TRUE(session.WaitFor("> ", typedAt + row.keys.size()));
            if (row.keys.find_first_not_of(" \r") == std::string::npos) {
                EXPECT_EQ(session.Screen().find("Quorvel", typedAt), std::string::npos);
            }
        }
        session.Type(leave);
        EXPECT_EQ(session.Finish(), 1) << session.Screen();  // the failures count, as in a pipe
    }
}

}  // namespace
