#include "platform/virtual_clock.h"

#include <gtest/gtest.h>
#include <string>

namespace {

TEST(VirtualClock, RunsCallbacksInTimeOrderThenSchedulingOrderAndAllowsRescheduling) {
    platform::VirtualClock clock;
    std::string log;
    std::vector<platform::Nanoseconds> seenAt;
    clock.schedule(30, [&] { log += 'c'; seenAt.push_back(clock.now()); });
    clock.schedule(10, [&] {
        log += 'a';
        seenAt.push_back(clock.now());
        clock.schedule(20, [&] { log += 'b'; seenAt.push_back(clock.now()); });
    });
    clock.schedule(30, [&] { log += 'd'; });
    const auto cancelled = clock.schedule(25, [&] { log += 'x'; });
    clock.cancel(cancelled);
    ASSERT_EQ(clock.nextDeadline(), 10);

    clock.advanceTo(29);
    EXPECT_EQ(log, "ab");
    EXPECT_EQ(clock.now(), 29);
    clock.advanceTo(100);
    EXPECT_EQ(log, "abcd");
    EXPECT_EQ(seenAt, (std::vector<platform::Nanoseconds>{10, 20, 30}));
    EXPECT_FALSE(clock.nextDeadline().has_value());

    clock.advanceTo(50);  // never backwards
    EXPECT_EQ(clock.now(), 100);
    clock.schedule(60, [&] { log += 'e'; });  // already due: runs at the next advance
    clock.advanceTo(100);
    EXPECT_EQ(log, "abcde");
}

TEST(VirtualClock, FrameTimesAreExactWithoutDrift) {
    EXPECT_EQ(platform::framesToNanoseconds(2500, 44100), 56'689'342);
    EXPECT_EQ(platform::framesToNanoseconds(44100LL * 3600 * 24, 44100), 86'400LL * 1'000'000'000);
    EXPECT_EQ(platform::framesToNanoseconds(4096, 22050), 185'759'637);
    EXPECT_EQ(platform::framesToNanoseconds(5, 0), 0);
}

}  // namespace
