#pragma once
// AlsaDevice: the state of one open ALSA stream that its UI-side handle
// (AlsaStream) and its device thread share, and the part of the device
// thread's work that is the same in both directions: the queue of buffers,
// the handshake with the UI side, the thread's loop, recovery from over- and
// underruns, and a device that goes away closed and opened again. How frames
// move and how running and stopping are carried out is each direction's own:
// AlsaCapture (alsa_capture.h) and AlsaPlayback (alsa_playback.h).
//
// The members under a "Shared, under lock_" heading, here and in the two
// directions, are shared and touched under `lock_`; the PCM and what describes
// it belong to the device thread, which never calls the device while it holds
// the lock. The UI side only ever takes the lock (held for bookkeeping and
// copies only) and waits, with a bound, for the device thread to say it has
// applied a change. Each virtual below says on which side it runs, and
// whether under the lock.
//
// The queue holds every buffer the device has not given back yet, in order;
// where the device stands in it is kept by the direction.
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
    virtual ~AlsaDevice();
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

protected:
    // Takes over `pcm` and the eventfd `wakeFd`; both are closed by the
    // device thread when it ends (or here, when it never ran). `running`:
    // whether the stream runs before it is first started.
    AlsaDevice(Direction direction, std::string name, const WAVEFORMATEX& format, snd_pcm_t* pcm,
               const AlsaPcmSetup& setup, bool running, BufferSink& sink, int wakeFd);

    struct Entry {
        WAVEHDR* header = nullptr;
        char* data = nullptr;
        snd_pcm_uframes_t frames = 0;
    };

    // What the device thread found it must do outside the lock.
    enum class Next { Wait, Recover, Lost, StartShortTail };

    // How the device thread waits for its next round: `active` while frames
    // are due to move (a device that moves none for long is taken as gone),
    // `onDevice` when the PCM's descriptors can end the wait, `timeout` in
    // milliseconds (-1: until woken).
    struct Activity {
        bool active = false;
        bool onDevice = false;
        int timeout = -1;
    };

    // Bits of reportedChecks_: each failing call is logged once.
    enum CheckBit : unsigned { kDrop = 1, kPrepare = 2, kPause = 4, kPoll = 8, kStart = 16, kClose = 32 };

    static constexpr int kActivePollMilliseconds = 500;

    static std::int64_t nowMilliseconds() {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    // What each direction does. UI side, under lock_:
    // True when the device thread has no buffer to wait on the device for,
    // so that a new one must wake it.
    virtual bool waitsForBuffer() const = 0;
    // A running stream is asked to stop: what goes back at once.
    virtual void stopping() = 0;
    // A reset: gives back every buffer (returnAll) and forgets where the
    // device was in them.
    virtual void returnQueued() = 0;

    // Device thread, under lock_:
    // How to wait after a round; `go` tells whether frames may move at all.
    virtual Activity activity(bool go) const = 0;
    // The device is gone with what it held.
    virtual void deviceLost() = 0;

    // Device thread, outside the lock:
    // Starts or stops (capture), plays or pauses (playback) the device as
    // wanted; a failure the UI side is to hear of goes into `result`.
    virtual void applyRunning(bool wantRunning, MMRESULT& result) = 0;
    // The device is only ever called outside the lock: a sound-server plugin
    // takes locks of its own inside any call, and may hold them for
    // milliseconds. Frames therefore move through scratch_, and the buffers
    // themselves are only read or written under the lock. When the UI side
    // gave buffers back in the meantime (returned_ moved on), the frames moved
    // belong to none of them: a capture drops them, a playback does not count
    // them (the reset drops them from the device too).
    virtual Next transfer(int& err) = 0;
    // The device has been recovered from an error (an over- or underrun when
    // `xrun`); false when it turned out to be gone after all (lose() done).
    virtual bool recovered(bool xrun) = 0;
    // The device was dropped, or closed, or opened anew: nothing of the
    // direction's is started or paused on it any more.
    virtual void forgetDevice() = 0;

    // Shared, under lock_.
    Entry& head() { return ring_[first_]; }
    const Entry& head() const { return ring_[first_]; }
    Entry& at(std::size_t i) { return ring_[(first_ + i) % ring_.size()]; }
    void finishHead(snd_pcm_uframes_t frames);
    void returnAll(snd_pcm_uframes_t headFrames);
    bool transferable() const;

    // Device thread.
    void lose(int err, const char* what = nullptr);
    void check(int err, unsigned bit);

    const Direction direction_;
    const std::string name_;
    const WAVEFORMATEX format_;

    // Device thread.
    snd_pcm_t* pcm_;
    AlsaPcmSetup setup_;
    std::int64_t lastProgress_ = 0;  // steady-clock milliseconds
    std::vector<char> scratch_;      // frames on their way between the device and a buffer

    std::mutex lock_;
    // Shared, under lock_.
    bool wantRunning_;
    std::uint64_t returned_ = 0;  // times the UI side gave buffers back
    std::size_t count_ = 0;

private:
    // Shared, under lock_.
    MMRESULT waitApplied(std::unique_lock<std::mutex>& guard, std::uint64_t request);
    void wake() const;
    void push(const Entry& e);

    // Device thread.
    void apply(std::uint64_t resetRequest, bool wantRunning, MMRESULT& result);
    bool recover(int err);
    bool reopen();
    void usePcm(snd_pcm_t* pcm);
    void waitForWork(int timeoutMs, bool onDevice);
    void drainWake() const;

    BufferSink& sink_;
    const int wakeFd_;

    // Device thread.
    std::vector<pollfd> fds_;  // [0]: wake-up eventfd; then the PCM's descriptors
    std::uint64_t appliedReset_ = 0;
    std::int64_t nextReopen_ = 0;
    bool wasActive_ = false;
    unsigned reportedChecks_ = 0;  // bit per ALSA call whose failure was logged once

    // Shared, under lock_.
    std::condition_variable applied_;
    bool quit_ = false;
    bool ended_ = false;
    std::uint64_t resetRequest_ = 0;
    std::uint64_t request_ = 0;
    std::uint64_t appliedRequest_ = 0;
    MMRESULT appliedResult_ = MMSYSERR_NOERROR;
    bool missing_ = false;
    std::vector<Entry> ring_;
    std::size_t first_ = 0;
};

}  // namespace platform::wave::alsa
