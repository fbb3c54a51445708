// The program fed through a pipe, as a script would run it.

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "process.hpp"
#include "target.hpp"

namespace {

struct Case {
    const char *input;
    const char *name; // nullptr: any one of the seven
};

std::ostream &operator<<(std::ostream &os, const Case &c)
{
    return os << testing::PrintToString(std::string(c.input));
}

std::string test_name(const testing::TestParamInfo<Case> &info)
{
    std::string name = std::to_string(info.index) + "_";
    for (const char c : std::string(info.param.input)) {
        if (std::isalnum(static_cast<unsigned char>(c)) != 0)
            name += c;
        else if (c == '-')
            name += "minus";
        else if (c == '+')
            name += "plus";
        else if (name.back() != '_')
            name += '_';
    }
    return name;
}

// The name the program wrote: the output up to the pause's prompt.
std::string name_in(const std::string &out)
{
    return out.substr(0, out.find("Press any key"));
}

// The name, then straight away the pause's prompt. Ours ends the line once
// the pipe's input has ended; the Windows interpreter's prompt is its own
// (Wine's is worded "continue... "), and what follows it is its business.
void expect_pause_after_name(const std::string &out, const std::string &name)
{
    if (!target.windows) {
        EXPECT_EQ(out, with_prompt(name.c_str()) + "\n");
        return;
    }
    const std::string shown = name + "Press any key to continue";
    EXPECT_EQ(out.substr(0, shown.size()), shown);
}

class Weekday : public testing::TestWithParam<Case> {};

TEST_P(Weekday, WritesTheDaysNameThenPauses)
{
    const Outcome got = run(target.command, GetParam().input);
    ASSERT_FALSE(got.timed_out) << "the pause should end with the pipe's input";
    EXPECT_EQ(describe(got), "exit 0");
    EXPECT_EQ(got.err, "");
    expect_pause_after_name(got.out, GetParam().name);
}

// Every case that the program's own rules decide.
INSTANTIATE_TEST_SUITE_P(Inputs, Weekday,
                         testing::Values(Case{"0\n", "terca"}, Case{"1\n", "segunda"},
                                         Case{"2\n", "domingo"}, Case{"3\n", "sabado"},
                                         Case{"4\n", "sexta"}, Case{"5\n", "quinta"},
                                         Case{"6\n", "quarta"}, Case{"7\n", "terca"},
                                         Case{"14\n", "terca"}, Case{"100\n", "domingo"},
                                         Case{"1000000\n", "segunda"},
                                         Case{"2147483647\n", "segunda"}, Case{"-1\n", "quarta"},
                                         Case{"-2\n", "domingo"}, Case{"-3\n", "segunda"},
                                         Case{"-4\n", "terca"}, Case{"-8\n", "sabado"},
                                         Case{"-9\n", "domingo"}, Case{"-2147483648\n", "domingo"},
                                         // a sign, blanks before, text after
                                         Case{"+5\n", "quinta"}, Case{"\n\n   \n\t 3\n", "sabado"},
                                         Case{"  12abc\n", "quinta"}, Case{"6 7 8\n", "quarta"},
                                         Case{"-0001\n", "quarta"}),
                         test_name);

class OddInput : public testing::TestWithParam<Case> {};

// Nothing that can be typed makes the program fail, write anything else, or
// wait for more than the one number.
TEST_P(OddInput, StillWritesOneDaysName)
{
    const Outcome got = run(target.command, GetParam().input);
    ASSERT_FALSE(got.timed_out);
    EXPECT_EQ(describe(got), "exit 0");
    EXPECT_EQ(got.err, "");
    const std::string name = name_in(got.out);
    ASSERT_TRUE(is_day_name(name)) << got.out;
    expect_pause_after_name(got.out, name);
    // Where no number could be read, this program goes on with 0.
    if (GetParam().name != nullptr && !target.windows) {
        EXPECT_EQ(name, GetParam().name);
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, OddInput,
                         testing::Values(Case{"", "terca"}, Case{"\n\n", "terca"},
                                         Case{"abc\n", "terca"}, Case{"-\n", "terca"},
                                         Case{"+\n", "terca"}, Case{"- 5\n", "terca"},
                                         Case{"x12\n", "terca"}, Case{"0x1f\n", "terca"},
                                         // out of range: the C library decides the value
                                         Case{"99999999999\n", nullptr},
                                         Case{"-99999999999999999999999\n", nullptr}),
                         test_name);

TEST(ClosedInput, IsNoNumberAndNoWait)
{
    PipedRun how;
    how.command = target.command;
    how.stdin_closed = true;
    const Outcome got = run(how);
    ASSERT_FALSE(got.timed_out);
    EXPECT_EQ(describe(got), "exit 0");
    EXPECT_EQ(got.err, "");
    const std::string name = name_in(got.out);
    EXPECT_TRUE(is_day_name(name)) << got.out;
    if (!target.windows) {
        EXPECT_EQ(got.out, with_prompt("terca") + "\n");
    }
}

} // namespace
