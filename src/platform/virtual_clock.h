#pragma once
// VirtualClock: the time base of the simulated, file and bench drivers.
//
// Drivers schedule callbacks at points of virtual time; whoever drives the clock
// advances it: the headless runner as fast as the machine allows (so runs are
// bit-for-bit repeatable), or a ClockPacer that follows the wall clock when a
// window is shown. Callbacks run on the thread that advances the clock (the UI
// thread); the clock itself is not thread-safe.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>

namespace platform {

using Nanoseconds = std::int64_t;

inline constexpr Nanoseconds kNanosecondsPerSecond = 1'000'000'000;

// Time of frame `frames` of a stream running at `rate` frames per second,
// rounded down to whole nanoseconds; exact integer arithmetic, no drift.
Nanoseconds framesToNanoseconds(std::int64_t frames, std::int64_t rate);

class VirtualClock {
public:
    using TimerId = std::uint64_t;

    Nanoseconds now() const { return now_; }

    // Runs fn once the clock reaches `at` (at the next advance if `at` has passed).
    // Callbacks due at the same time run in the order they were scheduled.
    TimerId schedule(Nanoseconds at, std::function<void()> fn);
    void cancel(TimerId id);

    std::optional<Nanoseconds> nextDeadline() const;

    // Runs every callback due at or before t, in time order, moving now() to each
    // callback's time as it runs; callbacks may schedule more. Then now() := t
    // (time never runs backwards).
    void advanceTo(Nanoseconds t);

    // Lets `duration` pass as a headless run does: from each deadline within it
    // to the next, calling `between` after each (to handle what the callbacks
    // posted), then to its end, and `between` once more.
    void passTime(Nanoseconds duration, const std::function<void()>& between);

    // Called after every schedule(): lets a pacer re-arm its wall-clock timer.
    void setScheduleListener(std::function<void()> listener) { listener_ = std::move(listener); }

private:
    Nanoseconds now_ = 0;
    TimerId nextId_ = 1;
    std::map<std::pair<Nanoseconds, TimerId>, std::function<void()>> timers_;
    std::function<void()> listener_;
};

// The process-wide clock that the virtual drivers use.
VirtualClock& virtualClock();

}  // namespace platform
