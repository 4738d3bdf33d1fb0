#include "platform/clock_pacer.h"

#include <algorithm>

namespace platform {

ClockPacer::ClockPacer(VirtualClock& clock, QObject* parent)
    : QObject(parent), clock_(clock), origin_(clock.now()) {
    wall_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &ClockPacer::tick);
    clock_.setScheduleListener([this] { rearm(); });
    rearm();
}

ClockPacer::~ClockPacer() { clock_.setScheduleListener({}); }

void ClockPacer::rearm() {
    const auto next = clock_.nextDeadline();
    if (!next) {
        timer_.stop();
        return;
    }
    const Nanoseconds wallNow = origin_ + wall_.nsecsElapsed();
    const Nanoseconds waitMs = std::max<Nanoseconds>(0, (*next - wallNow + 999'999) / 1'000'000);
    timer_.start(static_cast<int>(std::min<Nanoseconds>(waitMs, 60'000)));
}

void ClockPacer::tick() {
    clock_.advanceTo(origin_ + wall_.nsecsElapsed());
    rearm();
}

}  // namespace platform
