#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// A program started with chosen standard streams and extra environment entries.
struct ChildSpec {
    std::vector<std::string> argv;         // argv[0] is the program path
    std::vector<std::string> environment;  // "NAME=value" entries added or replacing the inherited
    int stdinFd = -1;                      // -1 inherits; otherwise duplicated onto the stream
    int stdoutFd = -1;
    int stderrFd = -1;
    int passedFd = -1;  // duplicated onto kPassedDescriptor, for a child told its number
};

inline constexpr int kPassedDescriptor = 3;

struct ChildExit {
    bool exited = false;  // ended by exit rather than a signal
    int status = -1;      // the exit status, or the signal number
    long peakRssKb = 0;   // the child's peak resident set size
    bool killed = false;  // did not end in time and was killed
};

// Starts the child (a program name without "/" is looked up in PATH); returns -1 and sets error
// when it cannot be started.
pid_t SpawnChild(const ChildSpec& spec, std::string& error);

// Waits for the child to end and collects its exit and resource usage. A child still running after
// timeoutSeconds (when not negative) is killed.
ChildExit WaitForChild(pid_t pid, double timeoutSeconds = -1.0);

// The environment of this process with the given entries added or replacing the same names.
std::vector<std::string> MergedEnvironment(const std::vector<std::string>& overrides);

// Seconds on the monotonic clock, comparable across processes of this machine.
double MonotonicSeconds();
