#include "bench/child_process.h"

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>

extern char** environ;

namespace {

constexpr useconds_t kPollMicroseconds = 2000;

std::string NameOf(const std::string& entry) {
    return entry.substr(0, entry.find('='));
}

std::vector<char*> PointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

bool Redirect(posix_spawn_file_actions_t& actions, int fd, int stream) {
    return fd < 0 || posix_spawn_file_actions_adddup2(&actions, fd, stream) == 0;
}

}  // namespace

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& overrides) {
    std::vector<std::string> merged;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        bool replaced = false;
        for (const std::string& override : overrides) {
            replaced = replaced || NameOf(override) == NameOf(*entry);
        }
        if (!replaced) merged.emplace_back(*entry);
    }
    merged.insert(merged.end(), overrides.begin(), overrides.end());
    return merged;
}

pid_t SpawnChild(const ChildSpec& spec, std::string& error) {
    std::vector<std::string> arguments = spec.argv;
    std::vector<std::string> environment = MergedEnvironment(spec.environment);
    std::vector<char*> argumentPointers = PointersTo(arguments);
    std::vector<char*> environmentPointers = PointersTo(environment);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    pid_t pid = -1;
    int result = EINVAL;
    if (!arguments.empty() && Redirect(actions, spec.stdinFd, 0) &&
        Redirect(actions, spec.stdoutFd, 1) && Redirect(actions, spec.stderrFd, 2) &&
        Redirect(actions, spec.passedFd, kPassedDescriptor)) {
        result = posix_spawnp(&pid, argumentPointers[0], &actions, nullptr, argumentPointers.data(),
                              environmentPointers.data());
    }
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0) {
        error = "cannot start " + (arguments.empty() ? std::string("(nothing)") : arguments[0]) +
                ": " + std::strerror(result);
        return -1;
    }
    return pid;
}

ChildExit WaitForChild(pid_t pid, double timeoutSeconds) {
    ChildExit exit;
    int status = 0;
    rusage usage{};
    const double deadline = MonotonicSeconds() + timeoutSeconds;
    pid_t ended = 0;
    while (timeoutSeconds >= 0.0 && ended == 0 && MonotonicSeconds() < deadline) {
        ended = wait4(pid, &status, WNOHANG, &usage);
        if (ended == 0) usleep(kPollMicroseconds);
        if (ended < 0 && errno == EINTR) ended = 0;
    }
    if (ended == 0 && timeoutSeconds >= 0.0) {
        kill(pid, SIGKILL);
        exit.killed = true;
    }
    while (ended <= 0) {
        ended = wait4(pid, &status, 0, &usage);
        if (ended < 0 && errno != EINTR) return exit;
    }
    exit.exited = WIFEXITED(status);
    exit.status = exit.exited ? WEXITSTATUS(status) : WTERMSIG(status);
    exit.peakRssKb = usage.ru_maxrss;
    return exit;
}

double MonotonicSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}
