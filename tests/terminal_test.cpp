// The program at a terminal, where the pause waits for a key press.

#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <sys/wait.h>

#include "target.hpp"
#include "terminal.hpp"

namespace {

struct Press {
    const char *label;
    std::vector<std::string> pieces; // typed one after another, 30 ms apart
};

std::ostream &operator<<(std::ostream &os, const Press &p)
{
    return os << p.label;
}

class KeyPress : public testing::TestWithParam<Press> {};

// One key, whatever bytes it sends, ends the pause: unechoed, nothing of it
// left for the shell, and the terminal as it was.
TEST_P(KeyPress, EndsThePause)
{
    Terminal terminal(target.command);
    const termios before = terminal.modes();
    terminal.type("3\n");
    ASSERT_TRUE(terminal.wait_for(with_prompt("sabado"))) << terminal.screen();
    const std::size_t prompt_end = terminal.screen().size();

    ASSERT_FALSE(terminal.ended_within(300ms)) << "the pause should wait for a key";
    const termios waiting = terminal.modes();
    EXPECT_EQ(waiting.c_lflag & (ICANON | ECHO), 0U);
    EXPECT_NE(waiting.c_lflag & ISIG, 0U) << "Ctrl-C must keep working";

    for (const std::string &piece : GetParam().pieces) {
        terminal.type(piece);
        std::this_thread::sleep_for(30ms);
    }
    ASSERT_TRUE(terminal.ended_within(5s)) << terminal.screen();
    EXPECT_TRUE(WIFEXITED(terminal.status()) && WEXITSTATUS(terminal.status()) == 0)
        << terminal.status();
    EXPECT_EQ(terminal.screen().substr(prompt_end), "\r\n") << "only a line end, no echo";
    EXPECT_TRUE(same_modes(terminal.modes(), before));
    EXPECT_EQ(terminal.unread_input(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyPress,
    testing::Values(Press{"letter", {"k"}}, Press{"enter", {"\r"}}, Press{"space", {" "}},
                    Press{"escape", {"\x1b"}}, Press{"arrow_up", {"\x1b[A"}},
                    Press{"F1", {"\x1bOP"}}, Press{"F5", {"\x1b[15~"}},
                    Press{"ctrl_arrow", {"\x1b[1;5C"}}, Press{"e_acute", {"\xc3\xa9"}},
                    Press{"arrow_down_in_two_pieces", {"\x1b", "[B"}}),
    [](const testing::TestParamInfo<Press> &info) { return std::string(info.param.label); });

TEST(Pause, KeysTypedBeforeThePromptDoNotCount)
{
    Terminal terminal(target.command);
    terminal.type("5\nq");
    ASSERT_TRUE(terminal.wait_for(with_prompt("quinta"))) << terminal.screen();
    EXPECT_FALSE(terminal.ended_within(300ms)) << "a key typed ahead ended the pause";
    terminal.type("k");
    ASSERT_TRUE(terminal.ended_within(5s));
    EXPECT_TRUE(WIFEXITED(terminal.status()) && WEXITSTATUS(terminal.status()) == 0);
}

struct Interruption {
    const char *label;
    const char *keys; // typed, or nullptr to send `signo` from outside
    int signo;
};

std::ostream &operator<<(std::ostream &os, const Interruption &i)
{
    return os << i.label;
}

class Interrupted : public testing::TestWithParam<Interruption> {};

// A signal that ends the program mid-pause finds the terminal put back first,
// and still ends it, as it would end any program.
TEST_P(Interrupted, LeavesTheTerminalAsItWas)
{
    Terminal terminal(target.command);
    const termios before = terminal.modes();
    terminal.type("1\n");
    ASSERT_TRUE(terminal.wait_for(with_prompt("segunda"))) << terminal.screen();
    ASSERT_FALSE(terminal.ended_within(100ms));

    if (GetParam().keys != nullptr)
        terminal.type(GetParam().keys);
    else
        kill(terminal.pid(), GetParam().signo);
    ASSERT_TRUE(terminal.ended_within(5s));
    ASSERT_TRUE(WIFSIGNALED(terminal.status())) << terminal.status();
    EXPECT_EQ(WTERMSIG(terminal.status()), GetParam().signo);
    EXPECT_TRUE(same_modes(terminal.modes(), before));
}

INSTANTIATE_TEST_SUITE_P(Signals, Interrupted,
                         testing::Values(Interruption{"ctrl_c", "\x03", SIGINT},
                                         Interruption{"sigterm", nullptr, SIGTERM},
                                         Interruption{"sighup", nullptr, SIGHUP}),
                         [](const testing::TestParamInfo<Interruption> &info) {
                             return std::string(info.param.label);
                         });

// Ctrl-Z stops the program with the terminal put back; `fg` brings the pause
// back, still waiting for its key.
TEST(JobControl, CtrlZThenFgWaitsAgain)
{
    Terminal terminal(target.command, true);
    const termios before = terminal.modes();
    terminal.type("4\n");
    ASSERT_TRUE(terminal.wait_for(with_prompt("sexta"))) << terminal.screen();

    terminal.type("\x1a");
    ASSERT_TRUE(terminal.wait_for("[stopped]")) << terminal.screen();
    EXPECT_TRUE(same_modes(terminal.modes(), before));

    const std::size_t resumed = terminal.screen().size();
    terminal.type("\n");
    ASSERT_TRUE(terminal.wait_for(pause_prompt, 10s, resumed)) << terminal.screen();
    EXPECT_FALSE(terminal.ended_within(300ms)) << "the pause should wait again";
    EXPECT_EQ(terminal.modes().c_lflag & (ICANON | ECHO), 0U);

    terminal.type("k");
    ASSERT_TRUE(terminal.ended_within(5s));
    EXPECT_TRUE(WIFEXITED(terminal.status()) && WEXITSTATUS(terminal.status()) == 0)
        << terminal.status();
    EXPECT_TRUE(same_modes(terminal.modes(), before));
}

} // namespace
