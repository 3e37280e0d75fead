#pragma once

#include <cstdint>
#include <string>

// One run of an evaluator over a file of lines on its standard input.
struct BatchReport {
    bool ok = false;
    std::string error;  // why the run is not ok
    std::uint64_t lines = 0;
    std::uint64_t outputLines = 0;
    double seconds = 0.0;  // launch to exit
    long peakRssKb = 0;

    double LinesPerSecond() const { return seconds > 0.0 ? lines / seconds : 0.0; }
};

// The short expression of the mixed input at the given line number: literals of every form,
// operators, groups, calls and texts that fail, in a fixed rotation.
const char* MixedLine(std::uint64_t index);

// Writes count mixed lines, each ended by "\n".
bool WriteMixedLines(const std::string& path, std::uint64_t count);

// Runs program with the file as standard input, counting the lines it writes; the run is ok when
// it exits with 0 or 1 (some line failed) and writes one line per input line.
BatchReport RunBatch(const std::string& program, const std::string& inputPath, std::uint64_t lines);

// A fresh path for a generated file in the temporary directory, or "" when none can be made.
std::string TemporaryPath(const char* stem);
