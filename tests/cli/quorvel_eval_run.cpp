#include "tests/cli/quorvel_eval_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

extern char** environ;

namespace {

int TemporaryFile(const std::string& content) {
    char name[] = "/tmp/quorvel-eval-test-XXXXXX";
    const int fd = mkostemp(name, O_CLOEXEC);
    unlink(name);
    for (std::size_t done = 0; done < content.size();) {
        const ssize_t written = write(fd, content.data() + done, content.size() - done);
        if (written <= 0) break;
        done += static_cast<std::size_t>(written);
    }
    lseek(fd, 0, SEEK_SET);
    return fd;
}

std::string ReadAvailable(int fd) {
    std::string text;
    char block[65536];
    ssize_t got;
    while ((got = read(fd, block, sizeof block)) > 0)
        text.append(block, got);
    return text;
}

int OpenTerminal(int& terminal) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    grantpt(master);
    unlockpt(master);
    terminal = open(ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
    fcntl(master, F_SETFL, O_NONBLOCK);
    return master;
}

}  // namespace

EvalResult RunQuorvelEval(const EvalRun& run) {
    std::vector<std::string> texts{QUORVEL_EVAL_PATH};
    texts.insert(texts.end(), run.arguments.begin(), run.arguments.end());
    std::vector<char*> argv;
    for (std::string& text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    std::string localeSetting = "LC_ALL=" + run.locale;
    std::vector<char*> envp;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (std::strncmp(*entry, "LC_ALL=", 7) != 0) envp.push_back(*entry);
    }
    if (!run.locale.empty()) envp.push_back(localeSetting.data());
    envp.push_back(nullptr);

    int terminal = -1;
    const int master = run.terminal ? OpenTerminal(terminal) : -1;
    int pipeEnds[2] = {-1, -1};
    if (run.stdoutClosedPipe) {
        pipe2(pipeEnds, O_CLOEXEC);
        close(pipeEnds[0]);
    }
    const int in = run.terminal            ? terminal
                   : run.stdinPath.empty() ? TemporaryFile(run.input)
                                           : open(run.stdinPath.c_str(), O_RDONLY | O_CLOEXEC);
    const int out = run.terminal             ? terminal
                    : run.stdoutClosedPipe   ? pipeEnds[1]
                    : run.stdoutPath.empty() ? TemporaryFile("")
                                             : open(run.stdoutPath.c_str(), O_WRONLY | O_CLOEXEC);
    const int err = TemporaryFile("");

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in, 0);
    posix_spawn_file_actions_adddup2(&actions, out, 1);
    posix_spawn_file_actions_adddup2(&actions, err, 2);
    if (run.terminal) write(master, run.input.data(), run.input.size());

    EvalResult result;
    pid_t child = -1;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) {
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
        result.maxResidentKb = usage.ru_maxrss;
    }
    posix_spawn_file_actions_destroy(&actions);
    lseek(out, 0, SEEK_SET);
    lseek(err, 0, SEEK_SET);
    result.out = ReadAvailable(run.terminal ? master : out);
    result.err = ReadAvailable(err);
    for (int fd : {run.terminal ? -1 : in, out, err, master}) {
        if (fd >= 0) close(fd);
    }
    return result;
}
