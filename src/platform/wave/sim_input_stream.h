#pragma once
// A recording stream of the simulated driver. From waveInStart the device
// records continuously on the virtual clock; each queued buffer receives the
// frames that pass while it is at the head of the queue, and comes back when
// its last frame has passed. Frames that pass while no buffer is queued are lost.
#include "platform/wave/sim_state.h"

#include <deque>

namespace platform::wave {

class SimInputStream final : public Stream {
public:
    SimInputStream(std::shared_ptr<SimState> state, VirtualClock& clock, const WAVEFORMATEX& format,
                   BufferSink& sink, UINT device);
    ~SimInputStream() override;

    MMRESULT prepare(WAVEHDR& header) override;
    MMRESULT submit(WAVEHDR& header) override;
    MMRESULT start() override;
    MMRESULT pause() override;
    void reset() override;
    void close() override;

private:
    struct Pending {
        WAVEHDR* header;
        char* data;
        std::int64_t frames;
    };

    std::int64_t frameNow() const;
    void beginHead();
    void finishHead();
    // Gives back the head with the frames recorded so far, the rest empty.
    void stopAndReturnAll();
    void fill(char* data, std::int64_t firstFrame, std::int64_t frames);
    void release();

    std::shared_ptr<SimState> state_;
    VirtualClock& clock_;
    WAVEFORMATEX format_;
    BufferSink& sink_;
    UINT device_;
    std::deque<Pending> queue_;
    bool recording_ = false;
    bool released_ = false;
    Nanoseconds origin_ = 0;       // time of frame 0 of this recording
    std::int64_t nextFrame_ = 0;   // first frame not yet given to a buffer
    std::int64_t headFrame_ = 0;   // first frame of the head buffer
    VirtualClock::TimerId timer_ = 0;
};

}  // namespace platform::wave
