#ifndef WEEKDAY_PLATFORM_COMMAND_HPP
#define WEEKDAY_PLATFORM_COMMAND_HPP

// Hands a command line to the system's command interpreter and returns once
// it has finished, with the interpreter's result. Where the interpreter has
// no "PAUSE" (any POSIX shell), that command is carried out here instead:
// the usual prompt, then one key press, or one character of redirected input.
int run_command(const char *command);

#endif
