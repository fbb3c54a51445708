#ifndef WEEKDAY_TESTS_PROCESS_HPP
#define WEEKDAY_TESTS_PROCESS_HPP

#include <chrono>
#include <string>
#include <vector>

// One run of a program with its standard streams on pipes, as a script or a
// shell pipeline would start it.
struct PipedRun {
    std::vector<std::string> command;
    std::string input;         // written to standard input, which is then closed
    bool stdin_closed = false; // start with no standard input at all instead
    std::string stdout_path;   // a file for standard output instead of a pipe
    std::chrono::milliseconds limit{20000};
};

struct Outcome {
    std::string out;
    std::string err;
    int status = -1; // as from waitpid
    bool timed_out = false;
};

Outcome run(const PipedRun &how);

// The usual case: `input` on a pipe, the output collected.
Outcome run(const std::vector<std::string> &command, const std::string &input);

// Replaces the calling (forked) process with `command`, looked up in PATH;
// exits 127 if it cannot be run.
[[noreturn]] void exec(const std::vector<std::string> &command);

// "exit 0", "killed by signal 2", "timed out" ...: for failure messages.
std::string describe(const Outcome &outcome);

#endif
