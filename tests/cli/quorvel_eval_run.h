#pragma once

#include <string>
#include <vector>

// The built quorvel-eval and its arguments, as exec takes them.
struct QuorvelEvalCommand {
    explicit QuorvelEvalCommand(const std::vector<std::string>& arguments);
    std::vector<std::string> texts;
    std::vector<char*> argv;  // into texts, ending with a null pointer
};

// Runs the built quorvel-eval as a child process with prepared standard streams.
struct EvalRun {
    std::vector<std::string> arguments{};
    std::string input{};            // standard input, from a file
    std::string stdinPath{};        // instead of input, when set
    std::string stdoutPath{};       // instead of a captured file, when set
    bool stdoutClosedPipe = false;  // a pipe whose reader has gone
    std::string locale{};           // LC_ALL, when set
    bool errorsIntoOutput = false;  // standard error into the standard output file, as 2>&1
};

struct EvalResult {
    int status = -1;  // exit status, 128 + the signal's number when a signal ended it
    std::string out;
    std::string err;
};

EvalResult RunQuorvelEval(const EvalRun& run);

// The child's peak resident memory once it has consumed input from a pipe that stays open,
// so it is measured while the child still waits for the rest of its line.
long PeakResidentKbWhileReading(const std::string& input);
