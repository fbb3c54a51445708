#include "command.hpp"

#include <cstdlib>

int run_command(const char *command)
{
    return std::system(command);
}
