#include "tests/cli/quorvel_eval_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

extern char** environ;

namespace {

void WriteAll(int fd, const std::string& content) {
    for (std::size_t done = 0; done < content.size();) {
        const ssize_t written = write(fd, content.data() + done, content.size() - done);
        if (written <= 0) break;
        done += static_cast<std::size_t>(written);
    }
}

int TemporaryFile(const std::string& content) {
    char name[] = "/tmp/quorvel-eval-test-XXXXXX";
    const int fd = mkostemp(name, O_CLOEXEC);
    unlink(name);
    WriteAll(fd, content);
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

// The child gets in, out and err as its standard streams; extra names LC_ALL when not empty.
pid_t Spawn(const std::vector<std::string>& arguments, const std::string& locale, int in, int out,
            int err) {
    QuorvelEvalCommand command(arguments);
    char* const* argv = command.argv.data();

    std::string localeSetting = "LC_ALL=" + locale;
    std::vector<char*> envp;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (std::strncmp(*entry, "LC_ALL=", 7) != 0) envp.push_back(*entry);
    }
    if (!locale.empty()) envp.push_back(localeSetting.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in, 0);
    posix_spawn_file_actions_adddup2(&actions, out, 1);
    posix_spawn_file_actions_adddup2(&actions, err, 2);
    pid_t child = -1;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv, envp.data()) != 0) child = -1;
    posix_spawn_file_actions_destroy(&actions);
    return child;
}

int WaitForExit(pid_t child) {
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) return -1;
    // As a shell reports it: 128 and the signal's number when a signal ended the child.
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

long PeakResidentKb(pid_t child) {
    const std::string path = "/proc/" + std::to_string(child) + "/status";
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const std::string status = ReadAvailable(fd);
    close(fd);
    const std::size_t field = status.find("VmHWM:");
    return field == std::string::npos ? -1 : std::atol(status.c_str() + field + 6);
}

}  // namespace

QuorvelEvalCommand::QuorvelEvalCommand(const std::vector<std::string>& arguments)
    : texts{QUORVEL_EVAL_PATH} {
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    for (std::string& text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);
}

EvalResult RunQuorvelEval(const EvalRun& run) {
    int pipeEnds[2] = {-1, -1};
    if (run.stdoutClosedPipe) {
        if (pipe2(pipeEnds, O_CLOEXEC) != 0) std::abort();
        close(pipeEnds[0]);
    }
    const int in = run.stdinPath.empty() ? TemporaryFile(run.input)
                                         : open(run.stdinPath.c_str(), O_RDONLY | O_CLOEXEC);
    const int out = run.stdoutClosedPipe     ? pipeEnds[1]
                    : run.stdoutPath.empty() ? TemporaryFile("")
                                             : open(run.stdoutPath.c_str(), O_WRONLY | O_CLOEXEC);
    const int err = run.errorsIntoOutput ? fcntl(out, F_DUPFD_CLOEXEC, 0) : TemporaryFile("");

    EvalResult result;
    result.status = WaitForExit(Spawn(run.arguments, run.locale, in, out, err));
    lseek(out, 0, SEEK_SET);
    lseek(err, 0, SEEK_SET);
    result.out = ReadAvailable(out);
    if (!run.errorsIntoOutput) result.err = ReadAvailable(err);
    for (int fd : {in, out, err}) {
        if (fd >= 0) close(fd);
    }
    return result;
}

long PeakResidentKbWhileReading(const std::string& input) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) std::abort();
    const int sink = open("/dev/null", O_WRONLY | O_CLOEXEC);
    const pid_t child = Spawn({}, "", ends[0], sink, sink);
    close(ends[0]);
    WriteAll(ends[1], input);
    int pending = 1;
    while (ioctl(ends[1], FIONREAD, &pending) == 0 && pending > 0)
        usleep(1000);
    const long peak = PeakResidentKb(child);
    close(ends[1]);
    close(sink);
    WaitForExit(child);
    return peak;
}
