// Runs the end-to-end tests against a built program:
//
//   weekday_tests [GoogleTest options] [--windows] [COMMAND...]
//
// COMMAND runs the program (for the Windows build, "wine path/weekday.exe");
// without it, the native program of this build tree is tested. --windows
// expects the Windows command interpreter's own pause in place of ours.

#include <cstring>

#include <gtest/gtest.h>

#include "target.hpp"

Target target;

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--windows") == 0 && target.command.empty())
            target.windows = true;
        else
            target.command.emplace_back(argv[i]);
    }
    if (target.command.empty())
        target.command.emplace_back(WEEKDAY_PROGRAM);
    return RUN_ALL_TESTS();
}
