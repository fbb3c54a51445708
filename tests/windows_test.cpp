// What only the Windows build, run under Wine, is tested for: its own command
// interpreter at a console, and no interpreter at all.

#include <regex>
#include <string>

#include <gtest/gtest.h>
#include <sys/wait.h>

#include "process.hpp"
#include "target.hpp"
#include "terminal.hpp"

namespace {

// Wine draws its console on the terminal with escape sequences between the
// characters; this is the text without them.
std::string text_of(const std::string &screen)
{
    static const std::regex escape("\x1b\\[[0-9;?]*[A-Za-z]");
    return std::regex_replace(screen, escape, "");
}

TEST(WindowsTerminal, PauseWaitsForAKey)
{
    Terminal terminal(target.command);
    // Wine takes the terminal into raw mode before it reads; Enter typed
    // sooner would reach it as a line feed, not as Enter.
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while ((terminal.modes().c_lflag & ICANON) != 0) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "Wine's console never started";
        ASSERT_FALSE(terminal.ended_within(20ms)) << terminal.screen();
    }
    terminal.type("3\r");
    ASSERT_TRUE(terminal.wait_for("continue", 30s)) << terminal.screen();
    EXPECT_NE(text_of(terminal.screen()).find("sabadoPress any key to continue"), std::string::npos)
        << text_of(terminal.screen());
    ASSERT_FALSE(terminal.ended_within(500ms)) << "the pause should wait for a key";
    terminal.type("k");
    ASSERT_TRUE(terminal.ended_within(20s)) << terminal.screen();
    EXPECT_TRUE(WIFEXITED(terminal.status()) && WEXITSTATUS(terminal.status()) == 0)
        << terminal.status();
}

// Run where the interpreter has been taken away: "PAUSE" cannot run at all.
TEST(WindowsWithoutInterpreter, StillNamesTheDayAndExitsZero)
{
    const Outcome got = run(target.command, "2\n");
    ASSERT_FALSE(got.timed_out);
    EXPECT_EQ(describe(got), "exit 0");
    EXPECT_EQ(got.out, "domingo") << "the name alone: no interpreter, so no prompt";
}

} // namespace
