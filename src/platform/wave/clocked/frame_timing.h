#pragma once
// Exact conversions between frame counts and virtual time for the virtual
// drivers. framesAt(frameTime(n)) == n for every rate up to 1e9.
#include "platform/virtual_clock.h"

#include <cstdint>

namespace platform::wave::clocked {

// The first instant at which frame n (counted from 0 at time 0) has completely
// passed: ceil(n * 1e9 / rate) nanoseconds.
inline Nanoseconds frameTime(std::int64_t frames, std::int64_t rate) {
    if (rate <= 0 || frames <= 0) return 0;
    const std::int64_t rest = frames % rate;
    return (frames / rate) * kNanosecondsPerSecond +
           (rest * kNanosecondsPerSecond + rate - 1) / rate;
}

// Frames that have completely passed at time t: floor(t * rate / 1e9).
inline std::int64_t framesAt(Nanoseconds t, std::int64_t rate) {
    if (rate <= 0 || t <= 0) return 0;
    return (t / kNanosecondsPerSecond) * rate + (t % kNanosecondsPerSecond) * rate / kNanosecondsPerSecond;
}

}  // namespace platform::wave::clocked
