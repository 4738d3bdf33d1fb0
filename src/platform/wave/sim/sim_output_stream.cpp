#include "platform/wave/sim/sim_output_stream.h"

namespace platform::wave::sim {

SimOutputStream::SimOutputStream(std::shared_ptr<SimState> state, int ordinal, VirtualClock& clock,
                                 const WAVEFORMATEX& format, BufferSink& sink, std::function<void()> onClose)
    : SimStream(std::move(state), Direction::Output, clock, format, sink, nullptr, std::move(onClose)),
      ordinal_(ordinal) {}

void SimOutputStream::played(const char* data, std::int64_t frames, Nanoseconds start, bool complete) {
    if (!state().keepPlayed) return;
    PlayedBuffer b;
    b.stream = ordinal_;
    b.format = format();
    b.start = start;
    b.end = clock().now();
    b.data.assign(data, data + frames * format().nBlockAlign);
    b.complete = complete;
    state().played.push_back(std::move(b));
}

}  // namespace platform::wave::sim
