#pragma once
// AlsaDevice: the state of one open ALSA stream that its UI-side handle
// (AlsaStream) and its device thread share, and the device thread's work.
//
// Everything below `lock_` is shared and touched under it; the PCM and what
// describes it belong to the device thread, which never calls the device
// while it holds the lock. The UI side only ever takes the lock (held for
// bookkeeping and copies only) and waits, with a bound, for the device thread
// to say it has applied a change.
//
// The queue holds every buffer the device has not given back yet, in order.
// Capture: the head is being recorded into (headFrames_ of it hold data).
// Playback: the first written_ entries have been written to the device whole,
// the next one writeFrames_ of it; playedFrames_ of the head have been played;
// inRing_ frames have been written and not yet played.
#include "platform/wave/alsa/alsa_pcm.h"

#include <poll.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

namespace platform::wave::alsa {

class AlsaDevice {
public:
    // Takes over `pcm` and the eventfd `wakeFd`; both are closed by the
    // device thread when it ends (or here, when it never ran).
    AlsaDevice(Direction direction, std::string name, const WAVEFORMATEX& format, snd_pcm_t* pcm,
               const AlsaPcmSetup& setup, bool hardwarePause, BufferSink& sink, int wakeFd);
    ~AlsaDevice();
    AlsaDevice(const AlsaDevice&) = delete;
    AlsaDevice& operator=(const AlsaDevice&) = delete;

    // UI side. Each returns within about kCommandWaitMilliseconds.
    MMRESULT submit(WAVEHDR& header);
    MMRESULT setRunning(bool running);  // capture: record / stop; playback: play / pause
    void reset();
    // Asks the device thread to end; true when it has ended within the bound
    // (it may then be joined), false when it goes on alone for a while.
    bool quit();

    // The device thread's body.
    void run();

    static constexpr int kCommandWaitMilliseconds = 200;

private:
    struct Entry {
        WAVEHDR* header = nullptr;
        char* data = nullptr;
        snd_pcm_uframes_t frames = 0;
    };

    // What the device thread found it must do outside the lock.
    enum class Next { Wait, Recover, Lost, StartShortTail };

    // Shared, under lock_.
    MMRESULT waitApplied(std::unique_lock<std::mutex>& guard, std::uint64_t request);
    void wake() const;
    void push(const Entry& e);
    Entry& head() { return ring_[first_]; }
    Entry& at(std::size_t i) { return ring_[(first_ + i) % ring_.size()]; }
    void finishHead(snd_pcm_uframes_t frames);
    void returnAll(bool keepRecorded);
    void notePlayed(snd_pcm_uframes_t frames);
    void rewindToPlayed();
    bool transferable() const;

    // Device thread.
    void apply(std::uint64_t resetRequest, bool wantRunning, MMRESULT& result);
    void applyRunning(bool wantRunning, MMRESULT& result);
    void pausePlayback();
    Next transfer(int& err);
    Next transferInput(int& err);
    Next transferOutput(int& err);
    // Writes at most `room` frames from where entry written_ stands (through
    // scratch_), as many as the device takes: the frames written, 0 when it
    // takes none now or buffers went back since `returned`, or a negative
    // error code.
    snd_pcm_sframes_t writeFrames(snd_pcm_uframes_t room, std::uint64_t returned);
    bool recover(int err);
    void lose(int err, const char* what = nullptr);
    bool reopen();
    void usePcm(snd_pcm_t* pcm);
    void waitForWork(int timeoutMs, bool onDevice);
    int playbackTimeout() const;
    void drainWake() const;
    void check(int err, unsigned bit);

    const Direction direction_;
    const std::string name_;
    const WAVEFORMATEX format_;
    const bool hardwarePause_;  // use the device's pause where it has one
    BufferSink& sink_;
    const int wakeFd_;

    // Device thread.
    snd_pcm_t* pcm_;
    AlsaPcmSetup setup_;
    std::vector<pollfd> fds_;  // [0]: wake-up eventfd; then the PCM's descriptors
    bool recording_ = false;   // capture: the PCM is started
    bool paused_ = false;      // playback: the pause has been applied
    bool hardwarePaused_ = false;
    std::uint64_t appliedReset_ = 0;
    std::int64_t lastProgress_ = 0;  // steady-clock milliseconds
    std::int64_t nextReopen_ = 0;
    bool wasActive_ = false;
    unsigned reportedChecks_ = 0;  // bit per ALSA call whose failure was logged once
    std::vector<char> scratch_;    // frames on their way between the device and a buffer

    std::mutex lock_;
    std::condition_variable applied_;
    bool quit_ = false;
    bool ended_ = false;
    bool wantRunning_;
    std::uint64_t resetRequest_ = 0;
    std::uint64_t request_ = 0;
    std::uint64_t appliedRequest_ = 0;
    MMRESULT appliedResult_ = MMSYSERR_NOERROR;
    bool missing_ = false;
    std::uint64_t returned_ = 0;  // times the UI side gave buffers back
    std::vector<Entry> ring_;
    std::size_t first_ = 0;
    std::size_t count_ = 0;
    snd_pcm_uframes_t headFrames_ = 0;   // capture: recorded into the head
    std::size_t written_ = 0;            // playback: entries written whole
    snd_pcm_uframes_t writeFrames_ = 0;  // playback: written of entry written_
    snd_pcm_uframes_t playedFrames_ = 0; // playback: played of the head
    snd_pcm_uframes_t inRing_ = 0;       // playback: written, not yet played
};

}  // namespace platform::wave::alsa
