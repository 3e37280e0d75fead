#include "bench/batch_throughput.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

class MixedLinesFile : public ::testing::Test {
  protected:
    void SetUp() override { path_ = TemporaryPath("quorvel-batch-test"); }
    void TearDown() override {
        if (!path_.empty()) std::remove(path_.c_str());
    }
    std::string path_;
};

TEST(MixedLine, RotatesThroughShortExpressions) {
    constexpr std::uint64_t kRotation = 16;
    for (std::uint64_t i = 0; i < kRotation; ++i) {
        SCOPED_TRACE(i);
        const std::string line = MixedLine(i);
        EXPECT_FALSE(line.empty());
        EXPECT_LE(line.size(), 24u);
        EXPECT_EQ(line.find('\n'), std::string::npos);
        EXPECT_EQ(line, MixedLine(i + kRotation));
        if (i > 0) {
            EXPECT_NE(line, MixedLine(i - 1));
        }
    }
}

TEST_F(MixedLinesFile, HoldsOneMixedLinePerLine) {
    ASSERT_FALSE(path_.empty());
    ASSERT_TRUE(WriteMixedLines(path_, 40));
    std::ifstream file(path_);
    std::string line;
    std::uint64_t count = 0;
    while (std::getline(file, line)) {
        EXPECT_EQ(line, MixedLine(count));
        ++count;
    }
    EXPECT_EQ(count, 40u);
}

struct RunCase {
    const char* program;
    bool ok;
    std::uint64_t outputLines;
    const char* errorPart;
};

TEST_F(MixedLinesFile, RunIsOkOnlyWhenEveryLineComesBack) {
    ASSERT_TRUE(WriteMixedLines(path_, 25));
    const RunCase cases[] = {
        {"/bin/cat", true, 25, ""},
        {"/bin/true", false, 0, "wrote 0 lines for 25"},
        {"/bin/false", false, 0, "wrote 0 lines for 25"},
        {"/nonexistent/quorvel-eval", false, 0, "cannot start"},
    };
    for (const RunCase& testCase : cases) {
        SCOPED_TRACE(testCase.program);
        const BatchReport report = RunBatch(testCase.program, path_, 25);
        EXPECT_EQ(report.ok, testCase.ok);
        EXPECT_EQ(report.outputLines, testCase.outputLines);
        EXPECT_NE(report.error.find(testCase.errorPart), std::string::npos) << report.error;
        if (report.ok) {
            EXPECT_GT(report.peakRssKb, 0);
            EXPECT_GT(report.LinesPerSecond(), 0.0);
        }
    }
}

}  // namespace
