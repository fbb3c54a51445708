#ifndef WEEKDAY_TESTS_TARGET_HPP
#define WEEKDAY_TESTS_TARGET_HPP

#include <string>
#include <vector>

// The program under test, as named on the test runner's command line: the
// native build, or the Windows build with the command that runs it.
struct Target {
    std::vector<std::string> command;
    bool windows = false;
};

extern Target target;

// The command interpreter's prompt for "PAUSE", word for word.
inline const std::string pause_prompt = "Press any key to continue . . . ";

// The week from Sunday, as the program names it.
inline const char *const day_names[] = {"domingo", "segunda", "terca", "quarta",
                                        "quinta",  "sexta",   "sabado"};

#endif
