#include "command.hpp"

#include <cstdlib>

int run_command(const char *command)
{
    return std::system(command); // NOLINT(cert-env33-c): that is the job
}
