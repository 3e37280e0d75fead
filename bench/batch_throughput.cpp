#include "bench/batch_throughput.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/child_process.h"

namespace {

constexpr std::array<const char*, 16> kMixedLines = {
    "1+2*3",      "x*2+y*3-z", "(1+2)*3-4/5",         "sin(x)*cos(y)+sqrt(2)",
    "0x1F+010",   "2^3^2",     "max(x,y)+min(1,2)*3", "1+",
    "1.5e3+31",   "-7%3",      "((2))*[3]",           "x*foo",
    "  PI * 2  ", "1/0",       "0y101-0.25",          "abs(-2)",
};

std::uint64_t CountNewlines(int fd) {
    std::uint64_t count = 0;
    std::array<char, 1 << 16> buffer;
    for (;;) {
        const ssize_t got = read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return count;
        count += static_cast<std::uint64_t>(std::count(buffer.data(), buffer.data() + got, '\n'));
    }
}

}  // namespace

const char* MixedLine(std::uint64_t index) {
    return kMixedLines[index % kMixedLines.size()];
}

bool WriteMixedLines(const std::string& path, std::uint64_t count) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) return false;
    bool written = true;
    for (std::uint64_t i = 0; i < count && written; ++i) {
        written = std::fputs(MixedLine(i), file) >= 0 && std::fputc('\n', file) != EOF;
    }
    return std::fclose(file) == 0 && written;
}

BatchReport RunBatch(const std::string& program, const std::string& inputPath,
                     std::uint64_t lines) {
    BatchReport report;
    report.lines = lines;
    const int input = open(inputPath.c_str(), O_RDONLY | O_CLOEXEC);
    int output[2] = {-1, -1};
    if (input < 0 || pipe2(output, O_CLOEXEC) != 0) {
        report.error = "cannot open " + inputPath + " or a pipe";
        if (input >= 0) close(input);
        return report;
    }
    ChildSpec spec;
    spec.argv = {program};
    spec.stdinFd = input;
    spec.stdoutFd = output[1];
    const double start = MonotonicSeconds();
    const pid_t pid = SpawnChild(spec, report.error);
    close(input);
    close(output[1]);
    if (pid < 0) {
        close(output[0]);
        return report;
    }
    report.outputLines = CountNewlines(output[0]);
    close(output[0]);
    const ChildExit exit = WaitForChild(pid);
    report.seconds = MonotonicSeconds() - start;
    report.peakRssKb = exit.peakRssKb;
    if (!exit.exited || exit.status > 1) {
        report.error = program + (exit.exited ? " exited with status " : " ended by signal ") +
                       std::to_string(exit.status);
    } else if (report.outputLines != lines) {
        report.error = program + " wrote " + std::to_string(report.outputLines) + " lines for " +
                       std::to_string(lines);
    }
    report.ok = report.error.empty();
    return report;
}

std::string TemporaryPath(const char* stem) {
    const char* directory = std::getenv("TMPDIR");
    std::string path =
        std::string(directory != nullptr && *directory != '\0' ? directory : "/tmp") + "/" + stem +
        "-XXXXXX";
    const int fd = mkstemp(path.data());
    if (fd < 0) return "";
    close(fd);
    return path;
}
