#include "bench/bench_timeline.h"

#include <algorithm>

namespace bench {

using namespace platform;
using namespace platform::wave;
using namespace platform::wave::clocked;

namespace {

__extension__ using Wide = __int128;

// floor(a / b) for b > 0.
Wide floorDiv(Wide a, Wide b) {
    const Wide q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

std::int16_t firstChannel(const WAVEFORMATEX& format, const char* frame) {
    if (format.wBitsPerSample == 8) {
        const int v = static_cast<unsigned char>(frame[0]) - 128;
        return static_cast<std::int16_t>(v * 256);
    }
    const auto lo = static_cast<unsigned char>(frame[0]);
    const auto hi = static_cast<unsigned char>(frame[1]);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
}

}  // namespace

void BenchTimeline::playing(const WAVEFORMATEX& format, Nanoseconds runOrigin, std::int64_t firstFrame,
                            const char* data, std::int64_t frames) {
    // Whoever records later starts at the earliest at this stretch's start.
    const Nanoseconds start = runOrigin + framesToNanoseconds(firstFrame, format.nSamplesPerSec);
    forgetBefore(recording_ ? keepFrom_ : start);

    Stretch s;
    s.runOrigin = runOrigin;
    s.firstFrame = firstFrame;
    s.rate = format.nSamplesPerSec;
    s.samples.resize(static_cast<std::size_t>(frames));
    for (std::int64_t i = 0; i < frames; ++i)
        s.samples[static_cast<std::size_t>(i)] = firstChannel(format, data + i * format.nBlockAlign);
    stretches_.push_back(std::move(s));
}

void BenchTimeline::halted(Nanoseconds at) {
    for (Stretch& s : stretches_) s.end = std::min(s.end, at);
}

void BenchTimeline::sample(Nanoseconds origin, std::int64_t rate, std::int64_t firstFrame, std::size_t count,
                           double* out) const {
    const Wide second = kNanosecondsPerSecond;
    std::size_t at = 0;  // stretches only move forward with time
    for (std::size_t i = 0; i < count; ++i) {
        const Wide k = firstFrame + static_cast<std::int64_t>(i);
        double value = 0;
        for (; at < stretches_.size(); ++at) {
            const Stretch& s = stretches_[at];
            // Time of frame k relative to the run, in units of 1 / (1e9 * rate) s.
            const Wide t = Wide{origin - s.runOrigin} * rate + k * second;
            const Wide position = floorDiv(t * s.rate, second * rate) - s.firstFrame;
            if (position < 0) break;  // before this stretch: silence
            const bool halted = Wide{origin - s.end} * rate + k * second >= 0;
            if (!halted && position < static_cast<Wide>(s.samples.size())) {
                value = s.samples[static_cast<std::size_t>(position)];
                break;
            }
            // Past this stretch: look at the next one.
        }
        out[i] = value;
    }
}

void BenchTimeline::inputStarted(Nanoseconds origin) {
    recording_ = true;
    keepFrom_ = origin;
}

void BenchTimeline::inputConsumed(Nanoseconds t) {
    keepFrom_ = t;
    forgetBefore(t);
}

void BenchTimeline::inputStopped() { recording_ = false; }

bool BenchTimeline::endedBy(const Stretch& s, Nanoseconds t) {
    if (s.end <= t) return true;
    // The last sample ends at runOrigin + (firstFrame + n) / rate.
    const Wide endFrames = s.firstFrame + static_cast<std::int64_t>(s.samples.size());
    return endFrames * kNanosecondsPerSecond <= Wide{t - s.runOrigin} * s.rate;
}

void BenchTimeline::forgetBefore(Nanoseconds t) {
    while (!stretches_.empty() && endedBy(stretches_.front(), t)) stretches_.pop_front();
}

}  // namespace bench
