#pragma once
// ClockedOutputStream: playback on the virtual clock, for the simulated,
// WAV-file and bench drivers. Written buffers play one after the other; a
// buffer comes back when its last frame has played. Pause halts the head
// buffer where it is; restart plays on from there. A PlaybackObserver may
// follow what is played.
#include "platform/virtual_clock.h"
#include "platform/wave/driver.h"

#include <cstdint>
#include <deque>
#include <functional>

namespace platform::wave::clocked {

// Follows the sound a ClockedOutputStream makes. Times are exact: frame n of
// a run plays from runOrigin + n / nSamplesPerSec seconds to the next frame.
class PlaybackObserver {
public:
    virtual ~PlaybackObserver() = default;
    // `frames` frames from `data` play next, as frames firstFrame,
    // firstFrame + 1, ... of the run that began at runOrigin. The data is
    // valid only during the call.
    virtual void playing(const WAVEFORMATEX& format, Nanoseconds runOrigin, std::int64_t firstFrame,
                         const char* data, std::int64_t frames) = 0;
    // Playing stopped at `at` (pause or reset): what was announced and had not
    // played by then is silent.
    virtual void halted(Nanoseconds at) = 0;
};

// A driver may derive to follow the buffers it holds and what each played; a
// derived class that overrides the hooks calls close() in its own destructor,
// so that they still reach it.
class ClockedOutputStream : public Stream {
public:
    // `observer` may be null and must outlive the stream; `onClose` runs once, at close.
    ClockedOutputStream(VirtualClock& clock, const WAVEFORMATEX& format, BufferSink& sink,
                        PlaybackObserver* observer, std::function<void()> onClose = {});
    ~ClockedOutputStream() override;

    MMRESULT submit(WAVEHDR& header) override;
    MMRESULT start() override;
    MMRESULT pause() override;
    void reset() override;
    void close() override;

protected:
    // The buffers held changed by `change`: +1 at submit, -1 as one leaves the
    // queue (before the sink hears of it), minus those still queued at close.
    virtual void heldChanged(int /*change*/) {}
    // A buffer leaves the queue having played its first `frames` frames
    // (`data`, valid only during the call) from `start` until now: all of it
    // (`complete`), or the part a reset cut short (only when some played).
    virtual void played(const char* /*data*/, std::int64_t /*frames*/, Nanoseconds /*start*/, bool /*complete*/) {}

    const WAVEFORMATEX& format() const { return format_; }
    const VirtualClock& clock() const { return clock_; }

private:
    struct Pending {
        WAVEHDR* header;
        const char* data;
        std::int64_t frames;
        std::int64_t played = 0;      // frames played before the current stretch
        Nanoseconds firstSound = -1;  // time its first frame started, -1 before
    };

    // Starts the head playing; `continuous`: right after the previous buffer.
    void beginHead(bool continuous);
    void finishHead();
    std::int64_t headProgress() const;
    void halt();
    void release();

    VirtualClock& clock_;
    WAVEFORMATEX format_;
    BufferSink& sink_;
    PlaybackObserver* observer_;
    std::function<void()> onClose_;
    std::deque<Pending> queue_;
    bool running_ = true;
    bool released_ = false;
    Nanoseconds origin_ = 0;      // start of the current run of continuous playing
    std::int64_t runFrames_ = 0;  // frames of this run played before the head's current stretch
    VirtualClock::TimerId timer_ = 0;
};

}  // namespace platform::wave::clocked
