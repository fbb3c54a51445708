#include "process.hpp"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const std::string &what)
{
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

void make_pipe(int fds[2])
{
    if (pipe2(fds, O_CLOEXEC) != 0)
        fail("pipe");
}

// Takes what `fd` has to give into `sink`, closing it at the end.
void collect(int &fd, short revents, std::string &sink)
{
    if (fd < 0 || revents == 0)
        return;
    char buffer[65536];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) {
        sink.append(buffer, static_cast<std::size_t>(n));
        return;
    }
    close(fd);
    fd = -1;
}

} // namespace

Outcome run(const PipedRun &how)
{
    int in[2] = {-1, -1};
    int out[2];
    int err[2];
    if (!how.stdin_closed)
        make_pipe(in);
    make_pipe(out);
    make_pipe(err);

    const pid_t child = fork();
    if (child < 0)
        fail("fork");
    if (child == 0) {
        if (how.stdin_closed)
            close(STDIN_FILENO);
        else
            dup2(in[0], STDIN_FILENO);
        if (how.stdout_path.empty())
            dup2(out[1], STDOUT_FILENO);
        else {
            const int fd = open(how.stdout_path.c_str(), O_WRONLY);
            if (fd < 0 || dup2(fd, STDOUT_FILENO) < 0)
                _exit(126);
        }
        dup2(err[1], STDERR_FILENO);
        (void)signal(SIGPIPE, SIG_DFL);
        exec(how.command);
    }

    if (!how.stdin_closed)
        close(in[0]);
    close(out[1]);
    close(err[1]);

    // A program that leaves its input unread must not stall us on a full pipe.
    const auto old_sigpipe = signal(SIGPIPE, SIG_IGN);
    const auto deadline = std::chrono::steady_clock::now() + how.limit;
    Outcome outcome;
    std::size_t written = 0;
    int in_fd = in[1];
    if (in_fd >= 0 && how.input.empty()) {
        close(in_fd);
        in_fd = -1;
    }
    int out_fd = out[0];
    int err_fd = err[0];
    while (out_fd >= 0 || err_fd >= 0 || in_fd >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            outcome.timed_out = true;
            kill(child, SIGKILL);
            break;
        }
        pollfd fds[3] = {{in_fd, POLLOUT, 0}, {out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}};
        if (poll(fds, 3, static_cast<int>(left.count())) < 0) {
            if (errno == EINTR)
                continue;
            fail("poll");
        }
        if (in_fd >= 0 && fds[0].revents != 0) {
            const ssize_t n = write(in_fd, how.input.data() + written, how.input.size() - written);
            if (n > 0)
                written += static_cast<std::size_t>(n);
            if (n < 0 || written == how.input.size()) {
                close(in_fd);
                in_fd = -1;
            }
        }
        collect(out_fd, fds[1].revents, outcome.out);
        collect(err_fd, fds[2].revents, outcome.err);
    }
    for (const int fd : {in_fd, out_fd, err_fd})
        if (fd >= 0)
            close(fd);
    (void)signal(SIGPIPE, old_sigpipe);

    // The streams are closed; the process itself must end soon after.
    while (!outcome.timed_out) {
        const pid_t done = waitpid(child, &outcome.status, WNOHANG);
        if (done == child)
            return outcome;
        if (std::chrono::steady_clock::now() >= deadline) {
            outcome.timed_out = true;
            kill(child, SIGKILL);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    waitpid(child, &outcome.status, 0);
    return outcome;
}

void exec(const std::vector<std::string> &command)
{
    std::vector<char *> argv(command.size() + 1, nullptr);
    std::transform(command.begin(), command.end(), argv.begin(),
                   [](const std::string &word) { return const_cast<char *>(word.c_str()); });
    execvp(argv[0], argv.data());
    _exit(127);
}

std::string describe(const Outcome &outcome)
{
    if (outcome.timed_out)
        return "timed out";
    if (WIFEXITED(outcome.status))
        return "exit " + std::to_string(WEXITSTATUS(outcome.status));
    if (WIFSIGNALED(outcome.status))
        return "killed by signal " + std::to_string(WTERMSIG(outcome.status));
    return "status " + std::to_string(outcome.status);
}

Outcome run(const std::vector<std::string> &command, const std::string &input)
{
    PipedRun how;
    how.command = command;
    how.input = input;
    return run(how);
}
