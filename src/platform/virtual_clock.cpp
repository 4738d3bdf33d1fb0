#include "platform/virtual_clock.h"

namespace platform {

Nanoseconds framesToNanoseconds(std::int64_t frames, std::int64_t rate) {
    if (rate <= 0) return 0;
    // frames * 1e9 / rate without overflow for any realistic stream length
    const std::int64_t whole = frames / rate;
    const std::int64_t rest = frames % rate;
    return whole * kNanosecondsPerSecond + rest * kNanosecondsPerSecond / rate;
}

VirtualClock::TimerId VirtualClock::schedule(Nanoseconds at, std::function<void()> fn) {
    const TimerId id = nextId_++;
    timers_.emplace(std::make_pair(at, id), std::move(fn));
    if (listener_) listener_();
    return id;
}

void VirtualClock::cancel(TimerId id) {
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->first.second == id) {
            timers_.erase(it);
            return;
        }
    }
}

std::optional<Nanoseconds> VirtualClock::nextDeadline() const {
    if (timers_.empty()) return std::nullopt;
    return timers_.begin()->first.first;
}

void VirtualClock::advanceTo(Nanoseconds t) {
    while (!timers_.empty() && timers_.begin()->first.first <= t) {
        auto node = timers_.extract(timers_.begin());
        if (node.key().first > now_) now_ = node.key().first;
        node.mapped()();
    }
    if (t > now_) now_ = t;
}

VirtualClock& virtualClock() {
    static VirtualClock clock;
    return clock;
}

void VirtualClock::passTime(Nanoseconds duration, const std::function<void()>& between) {
    const Nanoseconds end = now_ + duration;
    while (auto next = nextDeadline()) {
        if (*next > end) break;
        advanceTo(*next);
        between();
    }
    advanceTo(end);
    between();
}

}  // namespace platform
