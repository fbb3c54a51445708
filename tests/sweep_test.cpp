// Thousands of generated inputs, good and bad, and unusual standard streams
// (closed input is in pipe_test.cpp).
// Whatever comes in, the program writes one day's name, exits 0 and says
// nothing on standard error (where a sanitizer would report).

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "process.hpp"
#include "target.hpp"

namespace {

// The day for a number the program has read, worked out apart from the
// program's own formula: from -1 up, 0 is Tuesday and each step goes one day
// back; from -2 down, the index is |n| - 2, modulo 7.
const char *day_for(std::int64_t n)
{
    const std::int64_t index = n >= -1 ? ((2 - n) % 7 + 7) % 7 : (-n - 2) % 7;
    return day_names[index];
}

// Runs one input; expects `name`, or any day's name when it is null.
// Returns false (after reporting) when the program misbehaved.
bool check(const std::string &input, const char *name)
{
    const Outcome got = run(target.command, input);
    const std::string suffix = std::string(pause_prompt) + "\n";
    const bool shaped = got.out.size() > suffix.size() &&
                        got.out.compare(got.out.size() - suffix.size(), suffix.size(), suffix) == 0;
    const std::string written = shaped ? got.out.substr(0, got.out.size() - suffix.size()) : "";
    const bool ok = !got.timed_out && describe(got) == "exit 0" && got.err.empty() &&
                    (name != nullptr ? written == name : is_day_name(written));
    EXPECT_TRUE(ok) << "input " << testing::PrintToString(input.substr(0, 80)) << ": "
                    << describe(got) << ", out " << testing::PrintToString(got.out) << ", err "
                    << got.err;
    return ok;
}

constexpr int most_failures_shown = 5;

class Sweep : public testing::Test {
protected:
    // A fixed seed, so that a failure comes back on every run.
    std::mt19937_64 random{20261211}; // NOLINT(cert-msc32-c,cert-msc51-cpp)
    int failures = 0;

    void expect(const std::string &input, const char *name)
    {
        if (failures < most_failures_shown && !check(input, name))
            ++failures;
    }
    // From `least` to `most` characters, each from `pick`.
    template <typename Pick> std::string text(std::size_t least, std::size_t most, Pick pick)
    {
        std::string made(std::uniform_int_distribution<std::size_t>(least, most)(random), '\0');
        std::generate(made.begin(), made.end(), pick);
        return made;
    }
    std::string blanks(std::size_t most)
    {
        static const char kinds[] = " \t\n\v\f\r";
        return text(0, most, [this] { return kinds[random() % (sizeof kinds - 1)]; });
    }
};

TEST_F(Sweep, NumbersInRange)
{
    std::uniform_int_distribution<std::int32_t> any(INT32_MIN, INT32_MAX);
    std::uniform_int_distribution<std::int32_t> near_zero(-50, 50);
    for (int i = 0; i < 1200; ++i) {
        const std::int64_t n = i % 3 == 0 ? near_zero(random) : any(random);
        std::string line = std::to_string(n < 0 ? -n : n);
        line.insert(0, random() % 4 == 0 ? "00" : "");
        if (n < 0)
            line.insert(0, "-");
        else if (random() % 4 == 0)
            line.insert(0, "+");
        line.insert(0, blanks(3));
        line += random() % 2 == 0 ? "\n" : " 9 trailing words\n";
        expect(line, day_for(n));
    }
}

TEST_F(Sweep, NumbersBeyond32Bits)
{
    for (int i = 0; i < 200; ++i) {
        std::string digits =
            text(11, 80, [this] { return static_cast<char>('0' + random() % 10); });
        digits[0] = static_cast<char>('1' + random() % 9);
        expect((random() % 2 == 0 ? "-" : "") + digits + "\n", nullptr);
    }
}

TEST_F(Sweep, RandomBytes)
{
    for (int i = 0; i < 600; ++i) {
        expect(text(0, 48, [this] { return static_cast<char>(random() % 256); }), nullptr);
    }
}

TEST_F(Sweep, OddStreams)
{
    // Megabytes of blanks before the number: all skipped.
    expect(std::string(3 << 20, ' ') + "-8\n", "sabado");
    expect(blanks(1) + std::string(2 << 20, '\n') + "\t4", "sexta");
    // NUL bytes: before the number there is no number; after it, no matter.
    expect(std::string{'\0', '5', '\n'}, nullptr);
    expect(std::string{'5', '\0', '7', '\n'}, "quinta");
    expect(std::string(1000, '\0'), nullptr);
    expect("-", nullptr);

    // Nowhere to write: the program carries on regardless.
    PipedRun full;
    full.command = target.command;
    full.input = "3\n";
    full.stdout_path = "/dev/full";
    const Outcome unwritten = run(full);
    EXPECT_EQ(describe(unwritten), "exit 0");
    EXPECT_EQ(unwritten.err, "");
}

} // namespace
