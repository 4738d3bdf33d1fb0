#pragma once
// AlsaStream: one open ALSA PCM with its own thread.
//
// The UI thread queues buffers (submit) and sends commands (start, pause,
// reset, close), waiting for each command to be carried out; the device thread
// does all the ALSA work. It sleeps in poll() on the PCM's descriptors and a
// wake-up eventfd, and moves frames between the device and the head buffer of
// the queue in whatever pieces the device grants, so buffers of any size fill
// (capture) or drain (playback) in order. A buffer goes back through the sink
// when it is full (capture) or when the device has taken all of it (playback).
//
// Over- and underruns are recovered here (snd_pcm_recover), counted and shown
// on stderr (device_status.h). A device that fails for good (unplugged, sound
// server gone, or no progress for several seconds) ends the stream: every
// queued buffer goes back, the failure text is stored as the last device
// error, and later submits and starts are refused, so the component drains
// and closes.
//
// The hot path takes the queue's mutex only to pick up the next buffer and
// to hand a finished one back; nothing is allocated per buffer.
#include "platform/wave/alsa_pcm.h"

#include <poll.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace platform::wave {

class AlsaStream final : public Stream {
public:
    // Takes over `pcm` (set up by openAlsaPcm) and starts the device thread.
    // Returns a failure (and closes the PCM) when the thread's resources
    // cannot be had.
    static AlsaFailure create(Direction direction, std::string name, const WAVEFORMATEX& format,
                              snd_pcm_t* pcm, const AlsaPcmSetup& setup, BufferSink& sink,
                              std::unique_ptr<Stream>& out);
    ~AlsaStream() override;

    MMRESULT submit(WAVEHDR& header) override;
    MMRESULT start() override;
    MMRESULT pause() override;
    void reset() override;
    void close() override;

    AlsaStream(Direction direction, std::string name, const WAVEFORMATEX& format, snd_pcm_t* pcm,
               const AlsaPcmSetup& setup, BufferSink& sink, int wakeFd);

private:
    enum class Command { None, Start, Pause, Reset, Quit };

    struct Entry {
        WAVEHDR* header = nullptr;
        char* data = nullptr;
        snd_pcm_uframes_t frames = 0;
    };

    // UI side.
    MMRESULT command(Command c);
    void wake() const;

    // Device thread.
    void run();
    MMRESULT execute(Command c);
    bool takeNext();
    void finishCurrent(snd_pcm_uframes_t frames);
    void returnAll(bool keepPartial);
    bool transfer();
    bool recover(int err);
    void fail(int err, const char* what = nullptr);
    void waitForWork(bool active);
    void drainWake() const;

    // Queue of submitted buffers, behind lock_ (a ring that grows only in submit).
    bool queueEmpty() const { return count_ == 0; }
    void push(const Entry& e);
    Entry pop();

    const Direction direction_;
    const std::string name_;
    const WAVEFORMATEX format_;
    const AlsaPcmSetup setup_;
    snd_pcm_t* pcm_;
    BufferSink& sink_;
    const int wakeFd_;
    std::thread thread_;
    bool closed_ = false;

    std::mutex lock_;
    std::condition_variable commandDone_;
    Command command_ = Command::None;
    bool commandFinished_ = false;
    MMRESULT commandResult_ = MMSYSERR_NOERROR;
    std::vector<Entry> ring_;
    std::size_t first_ = 0;
    std::size_t count_ = 0;
    bool failed_ = false;
    MMRESULT failCode_ = MMSYSERR_NOERROR;

    // Owned by the device thread.
    std::vector<pollfd> fds_;  // [0]: wake-up eventfd; then the PCM's descriptors
    bool running_;             // capture: recording; playback: not paused
    bool haveCurrent_ = false;
    Entry current_;
    snd_pcm_uframes_t offset_ = 0;  // frames of current_ done
    std::int64_t lastProgress_ = 0; // steady-clock milliseconds
    bool wasActive_ = false;
};

}  // namespace platform::wave
