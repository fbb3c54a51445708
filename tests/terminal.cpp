#include "terminal.hpp"

#include "process.hpp"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utmp.h>

namespace {

[[noreturn]] void fail(const std::string &what)
{
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

// The job-control part of a shell, just enough to stop and resume one job.
[[noreturn]] void run_as_job(const std::vector<std::string> &command)
{
    (void)signal(SIGTTOU, SIG_IGN);
    const pid_t job = fork();
    if (job < 0)
        _exit(126);
    if (job == 0) {
        setpgid(0, 0);
        tcsetpgrp(STDIN_FILENO, getpid());
        (void)signal(SIGTTOU, SIG_DFL);
        exec(command);
    }
    setpgid(job, job);
    tcsetpgrp(STDIN_FILENO, job);
    for (;;) {
        int status = 0;
        if (waitpid(job, &status, WUNTRACED) != job)
            _exit(126);
        if (WIFSTOPPED(status)) {
            tcsetpgrp(STDIN_FILENO, getpgrp());
            const char note[] = "[stopped]\n";
            (void)!write(STDOUT_FILENO, note, sizeof note - 1);
            char c = 0;
            while (read(STDIN_FILENO, &c, 1) == 1 && c != '\n') {
            }
            tcsetpgrp(STDIN_FILENO, job);
            kill(-job, SIGCONT);
            continue;
        }
        if (WIFSIGNALED(status)) {
            // End the way the job ended.
            (void)signal(WTERMSIG(status), SIG_DFL);
            (void)raise(WTERMSIG(status));
        }
        _exit(WEXITSTATUS(status));
    }
}

} // namespace

Terminal::Terminal(const std::vector<std::string> &command, bool job_control)
{
    int program_side = -1;
    if (openpty(&master_, &program_side, nullptr, nullptr, nullptr) != 0)
        fail("openpty");
    fcntl(master_, F_SETFD, FD_CLOEXEC);
    child_ = fork();
    if (child_ < 0)
        fail("fork");
    if (child_ == 0) {
        if (login_tty(program_side) != 0)
            _exit(126);
        if (job_control)
            run_as_job(command);
        exec(command);
    }
    close(program_side);
    // A descriptor of our own, so that what we do to it (non-blocking reads)
    // is not done to the program's.
    slave_ = open(ptsname(master_), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0)
        fail("open pty");
}

Terminal::~Terminal()
{
    if (!ended_) {
        kill(child_, SIGKILL);
        waitpid(child_, &status_, 0);
    }
    close(slave_);
    close(master_);
}

void Terminal::type(std::string_view keys) const
{
    while (!keys.empty()) {
        const ssize_t n = write(master_, keys.data(), keys.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail("write to terminal");
        }
        keys.remove_prefix(static_cast<std::size_t>(n));
    }
}

void Terminal::drain(std::chrono::milliseconds limit)
{
    pollfd fd{master_, POLLIN, 0};
    if (poll(&fd, 1, static_cast<int>(limit.count())) <= 0)
        return;
    char buffer[4096];
    const ssize_t n = read(master_, buffer, sizeof buffer);
    if (n > 0)
        screen_.append(buffer, static_cast<std::size_t>(n));
    else if (n < 0 && errno != EINTR && errno != EIO)
        fail("read from terminal");
}

bool Terminal::wait_for(std::string_view text, std::chrono::milliseconds limit, std::size_t from)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (screen_.find(text, from) == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        drain(std::min(left, std::chrono::milliseconds(50)));
    }
    return true;
}

termios Terminal::modes() const
{
    termios t{};
    if (tcgetattr(slave_, &t) != 0)
        fail("tcgetattr");
    return t;
}

std::string Terminal::unread_input() const
{
    // In canonical mode a part line cannot be read; look at it raw for a
    // moment. Changing modes without a flush keeps the queue as it is.
    const termios saved = modes();
    termios raw = saved;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    raw.c_cc[VMIN] = 0;
    raw.c_cc[VTIME] = 0;
    tcsetattr(slave_, TCSANOW, &raw);
    std::string queued;
    char buffer[256];
    ssize_t n = 0;
    while ((n = read(slave_, buffer, sizeof buffer)) > 0)
        queued.append(buffer, static_cast<std::size_t>(n));
    tcsetattr(slave_, TCSANOW, &saved);
    return queued;
}

bool Terminal::ended_within(std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!ended_) {
        if (waitpid(child_, &status_, WNOHANG) == child_) {
            ended_ = true;
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        drain(10ms); // keep the program's output flowing while it ends
    }
    for (std::size_t seen = std::string::npos; seen != screen_.size();) {
        seen = screen_.size();
        drain(0ms);
    }
    return true;
}

bool same_modes(const termios &a, const termios &b)
{
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
           a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}
