// weekday: read one integer and write the Portuguese name of the weekday it
// stands for (0 is Tuesday, each further unit one day back), then pause.

#include <cstdint>
#include <cstdio>

#include "platform/command.hpp"

int main()
{
    static const char *const names[] = {"domingo", "segunda", "terca", "quarta",
                                        "quinta",  "sexta",   "sabado"};

    int input = 0; // stays 0, "terca", when no number can be read
    // Whatever the read makes of the input, every 32-bit value names a day.
    (void)std::scanf("%d", &input); // NOLINT(cert-err34-c)

    const std::uint32_t number = static_cast<std::uint32_t>(input);
    const std::uint32_t wrapped = 4294967294U - number;
    const std::uint32_t index = wrapped % 7U;

    // The name verbatim. (As the whole format string it would print the same,
    // having no '%', but compilers rightly flag a format that is no literal.)
    (void)std::printf("%s", names[index]);
    // A buffered stdout would otherwise put the name after the pause prompt.
    (void)std::fflush(stdout);

    (void)run_command("PAUSE");
    return 0;
}
