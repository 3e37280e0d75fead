#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// quorvel-eval on a pseudo-terminal of its own, typed at key by key as a user would.
class TerminalSession {
  public:
    // home, when set, becomes HOME, to show what the session leaves there.
    explicit TerminalSession(const std::vector<std::string>& arguments,
                             const std::string& home = "");
    ~TerminalSession();

    void Type(const std::string& keys);
    // Sends text at once, as a terminal sends a paste, reading the screen meanwhile.
    void Paste(const std::string& text);
    // Gives the terminal a new width, which signals the program as a resized window does.
    void Resize(unsigned short columns);
    // Waits until the screen's bytes from offset from on contain text; false after the timeout.
    bool WaitFor(const std::string& text, std::size_t from = 0, int timeoutSeconds = 2);
    // Waits until the process ends; its exit status, or -1.
    int Finish();
    bool Running();
    const std::string& Screen() const { return screen_; }

  private:
    void ReadAvailable(int timeoutMs);
    void WaitUntilEditing();
    pid_t child_ = -1;
    int master_ = -1;
    std::string screen_;
};
