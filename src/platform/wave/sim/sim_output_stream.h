#pragma once
// A playback stream of the simulated driver: a clocked output stream whose
// played buffers are logged in SimState::played (while keepPlayed is on).
#include "platform/wave/clocked/clocked_output_stream.h"
#include "platform/wave/sim/sim_stream.h"

namespace platform::wave::sim {

class SimOutputStream final : public SimStream<ClockedOutputStream> {
public:
    // `ordinal` becomes PlayedBuffer::stream; `onClose` runs once, at close.
    SimOutputStream(std::shared_ptr<SimState> state, int ordinal, VirtualClock& clock, const WAVEFORMATEX& format,
                    BufferSink& sink, std::function<void()> onClose);

private:
    void played(const char* data, std::int64_t frames, Nanoseconds start, bool complete) override;

    int ordinal_;
};

}  // namespace platform::wave::sim
