// Numbers on the command line are checked as what they become: a time as
// nanoseconds of virtual time, a track bar position as a 32-bit integer, a
// seed as a whole number; what cannot become one is refused with code 2.
#include "app/command_line.h"
#include "app/scripting/action_families.h"

#include <gtest/gtest.h>

namespace {

app::ParseResult parse(const QStringList& arguments) {
    return app::parseCommandLine(QStringList{QStringLiteral("pristroje"), QStringLiteral("--headless")} + arguments,
                                 app::scripting::actionFamilies());
}

TEST(CommandLineNumbers, WhatCannotBeRepresentedIsRefused) {
    const QStringList refused[] = {
        {"--run-for", "nan"},
        {"--run-for", "inf"},
        {"--run-for", "1e10"},
        {"--do", "wait:99999999999"},
        {"--do", "wait:600000000", "--do", "wait:600000000"},  // each fits, together they do not
        {"--do", "wait:1", "--run-for", "1000000000"},
        {"--do", "track:TrackBar1=2147483648"},
        {"--do", "track:TrackBar2=-2147483649"},
        {"--audio=bench", "--bench-seed", "nan"},
        {"--audio=bench", "--bench-seed", "-1"},
        {"--audio=bench", "--bench-seed", "1.5"},
        {"--audio=bench", "--bench-seed", "4294967296"},
        {"--audio=bench", "--bench-load", "nan"},
        {"--audio=bench", "--bench-noise", "inf"},
    };
    for (const QStringList& arguments : refused) {
        const app::ParseResult r = parse(arguments);
        EXPECT_FALSE(r.options.has_value()) << arguments.join(' ').toStdString();
        EXPECT_EQ(r.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_FALSE(r.message.isEmpty()) << arguments.join(' ').toStdString();
    }
}

TEST(CommandLineNumbers, TheLimitsThemselvesAreAccepted) {
    const app::ParseResult longest = parse({"--do", "wait:400000000", "--run-for", "600000000"});
    ASSERT_TRUE(longest.options.has_value()) << longest.message.toStdString();
    EXPECT_EQ(longest.options->runFor, 6e8);
    for (const char* action : {"track:TrackBar1=2147483647", "track:TrackBar2=-2147483648", "wait:0.5"}) {
        const app::ParseResult r = parse({"--do", action});
        EXPECT_TRUE(r.options.has_value()) << action << ": " << r.message.toStdString();
    }
    const app::ParseResult seed = parse({"--audio=bench", "--bench-seed", "4294967295"});
    ASSERT_TRUE(seed.options.has_value()) << seed.message.toStdString();
    EXPECT_EQ(seed.options->benchSeed, 4294967295u);
}

}  // namespace
