#ifndef WEEKDAY_TESTS_TERMINAL_HPP
#define WEEKDAY_TESTS_TERMINAL_HPP

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>
#include <termios.h>

using namespace std::chrono_literals;

// A program running on a pseudo-terminal of its own, typed at and watched
// the way a person at a terminal would.
class Terminal {
public:
    // The terminal becomes the program's controlling terminal. With
    // `job_control`, a minimal shell stands in between and runs the program
    // as its foreground job, so that Ctrl-Z really stops it; the shell writes
    // "[stopped]" when that happens, and resumes the job on the next line
    // end typed, as `fg` would.
    explicit Terminal(const std::vector<std::string> &command, bool job_control = false);
    ~Terminal();
    Terminal(const Terminal &) = delete;
    Terminal &operator=(const Terminal &) = delete;

    void type(std::string_view keys) const;

    // Reads the program's output until `text` has appeared after `from`.
    bool wait_for(std::string_view text, std::chrono::milliseconds limit = 10s,
                  std::size_t from = 0);
    // Everything the program has written so far.
    const std::string &screen() const { return screen_; }

    // The terminal's modes, as the program sees them.
    termios modes() const;
    // Whatever was typed and is still waiting in the terminal's input queue.
    std::string unread_input() const;

    // Waits up to `limit` for the program to end.
    bool ended_within(std::chrono::milliseconds limit);
    // The program's wait status, once ended.
    int status() const { return status_; }

    pid_t pid() const { return child_; }

private:
    void drain(std::chrono::milliseconds limit);

    int master_ = -1;
    int slave_ = -1; // our own descriptor for the program's side
    pid_t child_ = -1;
    bool ended_ = false;
    int status_ = -1;
    std::string screen_;
};

// The flags and control characters of two sets of modes are the same.
bool same_modes(const termios &a, const termios &b);

#endif
