#pragma once
// ClockedInputStream: a recording on the virtual clock, for the drivers whose
// line input is computed (the simulated, WAV-file and bench drivers). From start() the
// device records continuously: each queued buffer receives the frames that
// pass while it is at the head of the queue and comes back when its last
// frame has passed; frames that pass while no buffer is queued are lost.
// What the frames hold comes from a ClockedSource.
#include "platform/virtual_clock.h"
#include "platform/wave/driver.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>

namespace platform::wave::clocked {

// Computes recorded frames. Frame n of a recording is the one that passes at
// origin + n / nSamplesPerSec seconds (origin: the virtual time of start()).
class ClockedSource {
public:
    virtual ~ClockedSource() = default;
    virtual void started(const WAVEFORMATEX& /*format*/, Nanoseconds /*origin*/) {}
    // Writes `frames` frames of `format`, beginning with frame `firstFrame`.
    virtual void fill(const WAVEFORMATEX& format, Nanoseconds origin, std::int64_t firstFrame, char* data,
                      std::size_t frames) = 0;
    virtual void stopped() {}
};

// A driver may derive to follow the buffers it holds; a derived class that
// overrides heldChanged() calls close() in its own destructor, so that the
// hook still reaches it.
class ClockedInputStream : public Stream {
public:
    // `source` must outlive the stream; `onClose` runs once, at close.
    ClockedInputStream(VirtualClock& clock, const WAVEFORMATEX& format, BufferSink& sink, ClockedSource& source,
                       std::function<void()> onClose = {});
    ~ClockedInputStream() override;

    MMRESULT submit(WAVEHDR& header) override;
    MMRESULT start() override;
    MMRESULT pause() override;
    void reset() override;
    void close() override;

protected:
    // The buffers held changed by `change`: +1 at submit, -1 as one leaves the
    // queue (before the sink hears of it), minus those still queued at close.
    virtual void heldChanged(int /*change*/) {}

private:
    struct Pending {
        WAVEHDR* header;
        char* data;
        std::int64_t frames;
    };

    std::int64_t frameNow() const;
    void beginHead();
    void finishHead();
    // Gives back the head with the frames recorded so far and, when `all`,
    // the others empty.
    void returnQueued(bool all);
    void fill(char* data, std::int64_t firstFrame, std::int64_t frames);
    void stopRecording();
    void release();

    VirtualClock& clock_;
    WAVEFORMATEX format_;
    BufferSink& sink_;
    ClockedSource& source_;
    std::function<void()> onClose_;
    std::deque<Pending> queue_;
    bool recording_ = false;
    bool released_ = false;
    Nanoseconds origin_ = 0;      // time of frame 0 of this recording
    std::int64_t nextFrame_ = 0;  // first frame not yet given to a buffer
    std::int64_t headFrame_ = 0;  // first frame of the head buffer
    VirtualClock::TimerId timer_ = 0;
};

}  // namespace platform::wave::clocked
