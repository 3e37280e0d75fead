#include "tests/cli/terminal_session.h"

#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>

#include "tests/cli/quorvel_eval_run.h"

TerminalSession::TerminalSession(const std::vector<std::string>& arguments,
                                 const std::string& home) {
    QuorvelEvalCommand command(arguments);
    winsize size{24, 80, 0, 0};
    child_ = forkpty(&master_, nullptr, nullptr, &size);
    if (child_ == 0) {
        setenv("TERM", "xterm", 1);
        if (!home.empty()) setenv("HOME", home.c_str(), 1);
        signal(SIGINT, SIG_DFL);
        execv(command.argv[0], command.argv.data());
        _exit(127);
    }
}

TerminalSession::~TerminalSession() {
    if (Running()) kill(child_, SIGKILL);
    Finish();
    if (master_ >= 0) close(master_);
}

// Keys typed while the terminal is still in line mode would be echoed and taken by the kernel
// (Ctrl-D as end of file); a user types at the prompt, once the editor has the keyboard.
void TerminalSession::WaitUntilEditing() {
    termios mode{};
    for (int waited = 0; waited < 200 && tcgetattr(master_, &mode) == 0 && (mode.c_lflag & ICANON);
         ++waited)
        ReadAvailable(10);
}

void TerminalSession::Type(const std::string& keys) {
    for (char key : keys) {
        WaitUntilEditing();
        if (write(master_, &key, 1) != 1) return;
        ReadAvailable(5);  // key by key, as typed, so the editor sees each on its own
    }
}

void TerminalSession::Paste(const std::string& text) {
    WaitUntilEditing();
    std::size_t sent = 0;
    while (sent < text.size()) {
        pollfd entry{master_, POLLIN | POLLOUT, 0};
        if (poll(&entry, 1, 2000) <= 0) return;
        if (entry.revents & POLLIN) ReadAvailable(0);
        if (!(entry.revents & POLLOUT)) continue;
        // A terminal takes a few KiB at a time; a larger write would wait with the screen unread.
        const std::size_t part = std::min<std::size_t>(text.size() - sent, 1024);
        const ssize_t written = write(master_, text.data() + sent, part);
        if (written <= 0) return;
        sent += static_cast<std::size_t>(written);
    }
}

void TerminalSession::Resize(unsigned short columns) {
    winsize size{24, columns, 0, 0};
    ioctl(master_, TIOCSWINSZ, &size);
    ReadAvailable(2);  // a window being dragged sends its sizes a few milliseconds apart
}

void TerminalSession::ReadAvailable(int timeoutMs) {
    pollfd entry{master_, POLLIN, 0};
    char block[4096];
    while (poll(&entry, 1, timeoutMs) > 0) {
        const ssize_t got = read(master_, block, sizeof block);
        if (got <= 0) return;
        screen_.append(block, static_cast<std::size_t>(got));
        timeoutMs = 0;
    }
}

bool TerminalSession::WaitFor(const std::string& text, std::size_t from, int timeoutSeconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    while (screen_.find(text, from) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        ReadAvailable(20);
    }
    return true;
}

bool TerminalSession::Running() {
    siginfo_t info{};
    return child_ > 0 &&
           waitid(P_PID, static_cast<id_t>(child_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == 0;
}

int TerminalSession::Finish() {
    if (child_ <= 0) return -1;
    // Once the child has closed the terminal, reads fail at once, so time bounds the wait.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (Running() && std::chrono::steady_clock::now() < deadline) {
        ReadAvailable(20);
        usleep(1000);
    }
    ReadAvailable(0);
    int status = 0;
    if (Running() || waitpid(child_, &status, 0) != child_) return -1;
    child_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
