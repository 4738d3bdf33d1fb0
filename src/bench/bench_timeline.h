#pragma once
// BenchTimeline: the bench generator's waveform as it was played, on the
// virtual clock, so that the bench's line input can sample the source at any
// instant. It follows a ClockedOutputStream (PlaybackObserver) and keeps the
// played stretches until the line input has recorded past them.
//
// The waveform is the first channel of what was played, in 16-bit units (8-bit
// samples are scaled up), held from each sample to the next; before, between
// and after played stretches the source is silent (0).
#include "platform/wave/clocked/clocked_output_stream.h"

#include <cstdint>
#include <deque>
#include <limits>
#include <vector>

namespace bench {

class BenchTimeline final : public platform::wave::clocked::PlaybackObserver {
public:
    void playing(const platform::wave::WAVEFORMATEX& format, platform::Nanoseconds runOrigin, std::int64_t firstFrame,
                 const char* data, std::int64_t frames) override;
    void halted(platform::Nanoseconds at) override;

    // The source at frames firstFrame .. firstFrame + count - 1 of a recording
    // at `rate` whose frame 0 passes at `origin` (frame n at origin + n / rate
    // seconds, exactly), into out[0 .. count - 1].
    void sample(platform::Nanoseconds origin, std::int64_t rate, std::int64_t firstFrame, std::size_t count,
                double* out) const;

    // The line input: recording from `origin`; recorded everything before `t`;
    // stopped. Stretches nobody can ask for any more are forgotten.
    void inputStarted(platform::Nanoseconds origin);
    void inputConsumed(platform::Nanoseconds t);
    void inputStopped();

    // Stretches kept (for tests of the bookkeeping).
    std::size_t stretches() const { return stretches_.size(); }

private:
    struct Stretch {
        platform::Nanoseconds runOrigin = 0;
        std::int64_t firstFrame = 0;  // of the run
        std::int64_t rate = 1;
        platform::Nanoseconds end = std::numeric_limits<platform::Nanoseconds>::max();  // halted here
        std::vector<std::int16_t> samples;
    };

    // Drops stretches that ended at or before t.
    void forgetBefore(platform::Nanoseconds t);
    static bool endedBy(const Stretch& s, platform::Nanoseconds t);

    std::deque<Stretch> stretches_;
    bool recording_ = false;
    platform::Nanoseconds keepFrom_ = 0;
};

}  // namespace bench
