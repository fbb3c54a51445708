#ifndef WEEKDAY_TESTS_TARGET_HPP
#define WEEKDAY_TESTS_TARGET_HPP

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

// The program under test, as named on the test runner's command line: the
// native build, or the Windows build with the command that runs it.
struct Target {
    std::vector<std::string> command;
    bool windows = false;
};

extern Target target;

// The prompt of the Windows command interpreter's "PAUSE", word for word,
// which the native program's own pause shows too.
constexpr std::string_view pause_prompt = "Press any key to continue . . . ";

// What the native program shows for a day: its name, then the prompt.
inline std::string with_prompt(const char *name)
{
    return name + std::string(pause_prompt);
}

// The week from Sunday, as the program names it.
inline const char *const day_names[] = {"domingo", "segunda", "terca", "quarta",
                                        "quinta",  "sexta",   "sabado"};

inline bool is_day_name(const std::string &text)
{
    return std::find(std::begin(day_names), std::end(day_names), text) != std::end(day_names);
}

#endif
