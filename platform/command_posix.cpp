// POSIX shells have no "PAUSE", so it is carried out here the way the Windows
// command interpreter does it: a prompt, then one key press on a terminal, or
// one character (or the end) of redirected input, then a line end.
//
// On a terminal, only line editing and echo are switched off, so Ctrl-C and
// Ctrl-Z keep working. The signals that could end or stop the program mid-wait
// are caught just long enough to put the terminal back as it was found; then
// they take their usual course, and after a stop the wait starts over.

#include "command.hpp"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <sys/select.h>
#include <termios.h>
#include <unistd.h>

namespace {

const char prompt[] = "Press any key to continue . . . ";

const int caught_signals[] = {SIGALRM, SIGHUP,  SIGINT,  SIGPIPE, SIGQUIT,
                              SIGTERM, SIGTSTP, SIGTTIN, SIGTTOU};
constexpr int caught_count = sizeof caught_signals / sizeof caught_signals[0];

volatile std::sig_atomic_t pending_signal;

} // namespace

extern "C" {
static void note_signal(int signo)
{
    pending_signal = signo;
}
}

namespace {

void show(const char *text)
{
    (void)std::fputs(text, stdout);
    (void)std::fflush(stdout);
}

// Waits for one key press on the terminal `fd`. Returns 0 after the key, or
// the signal that came first. If `prompt_due`, the prompt is shown as soon as
// the terminal is ready for the key, and `prompt_due` is cleared. Either way
// the terminal's modes and the signal dispositions are left as they were
// found, and whatever else was typed (the rest of an escape sequence
// included) is dropped rather than left to the shell.
int wait_for_key(int fd, bool &prompt_due)
{
    struct sigaction catcher {};
    catcher.sa_handler = note_signal;
    sigemptyset(&catcher.sa_mask);
    catcher.sa_flags = 0; // no SA_RESTART: a signal has to end the wait

    struct sigaction saved_actions[caught_count];
    sigset_t caught;
    sigemptyset(&caught);
    pending_signal = 0;
    for (int i = 0; i < caught_count; ++i) {
        (void)sigaction(caught_signals[i], nullptr, &saved_actions[i]);
        if (saved_actions[i].sa_handler == SIG_IGN)
            continue; // whoever started us wants it ignored; so do we
        (void)sigaction(caught_signals[i], &catcher, nullptr);
        (void)sigaddset(&caught, caught_signals[i]);
    }

    struct termios saved_modes {};
    struct termios modes {};
    bool changed = false;
    if (tcgetattr(fd, &saved_modes) == 0) {
        modes = saved_modes;
        modes.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
        modes.c_cc[VMIN] = 1;
        modes.c_cc[VTIME] = 0;
        // Flushing drops keys typed before the prompt: they are not the press.
        // From the background this raises SIGTTOU, which stops us as usual.
        changed = tcsetattr(fd, TCSAFLUSH, &modes) == 0;
    }

    if (pending_signal == 0 && prompt_due) {
        show(prompt);
        prompt_due = false;
    }

    // Signals stay blocked except inside the wait itself, so one that comes
    // just before it still ends it.
    sigset_t original_mask;
    (void)sigprocmask(SIG_BLOCK, &caught, &original_mask);
    if (pending_signal == 0) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        if (pselect(fd + 1, &readable, nullptr, nullptr, nullptr, &original_mask) == 1) {
            (void)sigprocmask(SIG_SETMASK, &original_mask, nullptr);
            unsigned char key[16];
            const ssize_t got = read(fd, key, sizeof key);
            if (got == 1 && key[0] == '\033' && changed) {
                // A lone ESC may be the start of a key's sequence whose rest
                // is still on its way: give it a tenth of a second to arrive.
                modes.c_cc[VMIN] = 0;
                modes.c_cc[VTIME] = 1;
                if (tcsetattr(fd, TCSANOW, &modes) == 0)
                    (void)read(fd, key, sizeof key);
            }
            (void)sigprocmask(SIG_BLOCK, &caught, nullptr);
        }
    }

    // With SIGTTOU blocked this succeeds even if we were put in the
    // background meanwhile: the terminal always gets its modes back.
    if (changed)
        (void)tcsetattr(fd, TCSAFLUSH, &saved_modes);

    for (int i = 0; i < caught_count; ++i)
        (void)sigaction(caught_signals[i], &saved_actions[i], nullptr);
    (void)sigprocmask(SIG_SETMASK, &original_mask, nullptr);
    return pending_signal;
}

void pause_for_key()
{
    if (isatty(STDIN_FILENO) == 0) {
        // Redirected input: take one character or the end of it, and never
        // wait on an input that is closed.
        show(prompt);
        char c = 0;
        while (read(STDIN_FILENO, &c, 1) < 0 && errno == EINTR) {
        }
        show("\n");
        return;
    }

    bool prompt_due = true;
    for (;;) {
        const int signo = wait_for_key(STDIN_FILENO, prompt_due);
        if (signo == 0)
            break;
        // Echo is back on: leave the shell a fresh line, then let the signal
        // do what it would have done. Only a stop returns here, to wait again.
        if (isatty(STDOUT_FILENO) != 0)
            show("\n");
        (void)std::raise(signo);
        // Back from a stop: the shell has had the screen, so ask again.
        if (isatty(STDOUT_FILENO) != 0)
            prompt_due = true;
    }
    show("\n");
}

} // namespace

int run_command(const char *command)
{
    if (std::strcmp(command, "PAUSE") != 0)
        return std::system(command); // NOLINT(cert-env33-c): any other command
    pause_for_key();
    return 0;
}
