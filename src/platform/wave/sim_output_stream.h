#pragma once
// A playback stream of the simulated driver. Written buffers play one after
// the other on the virtual clock; a buffer comes back when its last frame has
// played. Pause halts the head buffer where it is; restart plays on from there.
// Every played buffer is logged in SimState::played.
#include "platform/wave/sim_state.h"

#include <deque>

namespace platform::wave {

class SimOutputStream final : public Stream {
public:
    SimOutputStream(std::shared_ptr<SimState> state, VirtualClock& clock, const WAVEFORMATEX& format,
                    BufferSink& sink, UINT device, int ordinal);
    ~SimOutputStream() override;

    MMRESULT prepare(WAVEHDR& header) override;
    MMRESULT submit(WAVEHDR& header) override;
    MMRESULT start() override;
    MMRESULT pause() override;
    void reset() override;
    void close() override;

private:
    struct Pending {
        WAVEHDR* header;
        const char* data;
        std::int64_t frames;
        std::int64_t played = 0;     // frames played before the current run
        Nanoseconds firstSound = -1;  // time its first frame started, -1 before
    };

    // Starts the head playing; `continuous`: right after the previous buffer.
    void beginHead(bool continuous);
    void finishHead();
    std::int64_t headProgress() const;
    void log(const Pending& p, std::int64_t frames, bool complete);
    void release();

    std::shared_ptr<SimState> state_;
    VirtualClock& clock_;
    WAVEFORMATEX format_;
    BufferSink& sink_;
    UINT device_;
    int ordinal_;  // PlayedBuffer::stream
    std::deque<Pending> queue_;
    bool running_ = true;
    bool released_ = false;
    Nanoseconds origin_ = 0;        // start of the current run of continuous playing
    std::int64_t runFrames_ = 0;    // frames of this run played before the head's current stretch
    VirtualClock::TimerId timer_ = 0;
};

}  // namespace platform::wave
