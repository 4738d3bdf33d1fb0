#include "platform/wave/alsa/alsa_device.h"

#include "platform/wave/device_status.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace platform::wave::alsa {
namespace {

// A running device that moves no frame for this long is taken as gone.
constexpr std::int64_t kStallMilliseconds = 3000;
// A missing device is tried again this often.
constexpr std::int64_t kReopenMilliseconds = 500;

}  // namespace

AlsaDevice::AlsaDevice(Direction direction, std::string name, const WAVEFORMATEX& format, snd_pcm_t* pcm,
                       const AlsaPcmSetup& setup, bool running, BufferSink& sink, int wakeFd)
    : direction_(direction),
      name_(std::move(name)),
      format_(format),
      pcm_(nullptr),
      setup_(setup),
      wantRunning_(running),
      sink_(sink),
      wakeFd_(wakeFd),
      ring_(16) {
    usePcm(pcm);
}

AlsaDevice::~AlsaDevice() {
    if (pcm_ != nullptr) snd_pcm_close(pcm_);
    ::close(wakeFd_);
}

// Nothing of the direction's needs forgetting here: a fresh direction has
// nothing started or paused, and reopen() calls forgetDevice() itself.
void AlsaDevice::usePcm(snd_pcm_t* pcm) {
    pcm_ = pcm;
    const int count = snd_pcm_poll_descriptors_count(pcm_);
    check(count, kPoll);  // without them the thread still looks every half second
    const int n = std::max(count, 0);
    fds_.assign(static_cast<std::size_t>(n) + 1, pollfd{});
    fds_[0] = pollfd{wakeFd_, POLLIN, 0};
    if (n > 0) snd_pcm_poll_descriptors(pcm_, fds_.data() + 1, static_cast<unsigned>(n));
    lastProgress_ = nowMilliseconds();
}

// ---------------------------------------------------------------- UI side

MMRESULT AlsaDevice::submit(WAVEHDR& header) {
    bool idle = false;
    {
        std::lock_guard guard(lock_);
        // A device thread with a buffer still to move is waiting on the
        // device and comes to this one by itself.
        idle = waitsForBuffer();
        push({&header, header.lpData, header.dwBufferLength / format_.nBlockAlign});
    }
    if (idle) wake();
    return MMSYSERR_NOERROR;
}

MMRESULT AlsaDevice::setRunning(bool running) {
    std::unique_lock guard(lock_);
    if (!running && wantRunning_) stopping();
    wantRunning_ = running;
    const std::uint64_t request = ++request_;
    wake();
    return waitApplied(guard, request);
}

void AlsaDevice::reset() {
    std::unique_lock guard(lock_);
    returnQueued();
    ++resetRequest_;
    const std::uint64_t request = ++request_;
    wake();
    waitApplied(guard, request);
}

bool AlsaDevice::quit() {
    std::unique_lock guard(lock_);
    quit_ = true;
    wake();
    return applied_.wait_for(guard, std::chrono::milliseconds(kCommandWaitMilliseconds), [this] { return ended_; });
}

// The device thread carries a change out when it can; a sound server that
// does not answer must not hold the window, so the wait is bounded and the
// result of a change not yet carried out is taken as success.
MMRESULT AlsaDevice::waitApplied(std::unique_lock<std::mutex>& guard, std::uint64_t request) {
    const bool done = applied_.wait_for(guard, std::chrono::milliseconds(kCommandWaitMilliseconds),
                                        [&] { return appliedRequest_ >= request || ended_; });
    return done && appliedRequest_ == request ? appliedResult_ : MMSYSERR_NOERROR;
}

void AlsaDevice::wake() const {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);  // full counter: already awake
}

void AlsaDevice::push(const Entry& e) {
    if (count_ == ring_.size()) {
        std::vector<Entry> bigger(ring_.size() * 2);
        for (std::size_t i = 0; i < count_; ++i) bigger[i] = at(i);
        ring_ = std::move(bigger);
        first_ = 0;
    }
    at(count_) = e;
    ++count_;
}

void AlsaDevice::finishHead(snd_pcm_uframes_t frames) {
    const Entry e = head();
    first_ = (first_ + 1) % ring_.size();
    --count_;
    sink_.done(*e.header, static_cast<DWORD>(frames * format_.nBlockAlign));
}

// Gives back every buffer in order, the head with `headFrames` of it; where
// the device was in them is for the caller to forget.
void AlsaDevice::returnAll(snd_pcm_uframes_t headFrames) {
    ++returned_;
    bool first = true;
    while (count_ > 0) {
        finishHead(first ? headFrames : 0);
        first = false;
    }
}

bool AlsaDevice::transferable() const {
    return !quit_ && wantRunning_ && !missing_ && resetRequest_ == appliedReset_;
}

// ---------------------------------------------------------- device thread

void AlsaDevice::run() {
    for (;;) {
        bool wantRunning;
        std::uint64_t resetRequest, request;
        {
            std::lock_guard guard(lock_);
            if (quit_) break;
            wantRunning = wantRunning_;
            resetRequest = resetRequest_;
            request = request_;
        }
        if (pcm_ == nullptr && nowMilliseconds() >= nextReopen_) reopen();
        MMRESULT result = MMSYSERR_NOERROR;
        if (pcm_ != nullptr) apply(resetRequest, wantRunning, result);
        {
            std::lock_guard guard(lock_);
            if (appliedRequest_ < request) {
                appliedRequest_ = request;
                appliedResult_ = result;
            }
        }
        applied_.notify_all();
        if (pcm_ == nullptr) {
            waitForWork(static_cast<int>(std::max<std::int64_t>(nextReopen_ - nowMilliseconds(), 1)), false);
            continue;
        }

        int err = 0;
        switch (transfer(err)) {
            case Next::Recover:
                recover(err);
                continue;
            case Next::Lost:
                lose(err);
                continue;
            case Next::StartShortTail:
                // A last stretch shorter than the start threshold would never start.
                check(snd_pcm_start(pcm_), kStart);
                break;
            case Next::Wait:
                break;
        }

        Activity next;
        {
            std::lock_guard guard(lock_);
            next = activity(transferable());
        }
        if (next.active && !wasActive_) lastProgress_ = nowMilliseconds();
        wasActive_ = next.active;
        if (next.active && nowMilliseconds() - lastProgress_ > kStallMilliseconds) {
            lose(-EIO, "no audio has moved for 3 seconds");
            continue;
        }
        waitForWork(next.timeout, next.onDevice);
    }
    if (pcm_ != nullptr) {
        check(snd_pcm_drop(pcm_), kDrop);
        check(snd_pcm_close(pcm_), kClose);
        pcm_ = nullptr;
    } else {
        noteDeviceClosed(direction_);  // closed while missing: no longer waited for
    }
    {
        std::lock_guard guard(lock_);
        ended_ = true;
    }
    applied_.notify_all();
}

void AlsaDevice::apply(std::uint64_t resetRequest, bool wantRunning, MMRESULT& result) {
    if (resetRequest != appliedReset_) {
        check(snd_pcm_drop(pcm_), kDrop);
        check(snd_pcm_prepare(pcm_), kPrepare);
        forgetDevice();
        std::lock_guard guard(lock_);
        appliedReset_ = resetRequest;
    }
    applyRunning(wantRunning, result);
}

bool AlsaDevice::recover(int err) {
    if (err == -EAGAIN) return true;
    // A device that went away also shows up as an xrun (the sound-server
    // plugin reports a lost server that way); then the recovery fails too.
    if (const int r = snd_pcm_recover(pcm_, err, 1); r < 0) {
        lose(r);
        return false;
    }
    const bool xrun = err == -EPIPE || err == -ESTRPIPE;
    if (xrun) noteXrun(direction_, name_);
    if (!recovered(xrun)) return false;
    lastProgress_ = nowMilliseconds();
    return true;
}

// The device is gone: close it and try again later. What becomes of the
// buffer it was in is the direction's (deviceLost()).
void AlsaDevice::lose(int err, const char* what) {
    noteDeviceMissing(direction_, name_, what != nullptr ? what : snd_strerror(err));
    {
        std::lock_guard guard(lock_);
        deviceLost();
        missing_ = true;
    }
    check(snd_pcm_close(pcm_), kClose);
    pcm_ = nullptr;
    fds_.resize(1);
    forgetDevice();
    wasActive_ = false;
    nextReopen_ = nowMilliseconds() + kReopenMilliseconds;
}

bool AlsaDevice::reopen() {
    nextReopen_ = nowMilliseconds() + kReopenMilliseconds;
    snd_pcm_t* pcm = nullptr;
    AlsaPcmSetup setup;
    if (openAlsaPcm(direction_, name_, format_, pcm, setup).code != MMSYSERR_NOERROR) return false;
    setup_ = setup;
    usePcm(pcm);
    forgetDevice();
    {
        std::lock_guard guard(lock_);
        appliedReset_ = resetRequest_;  // a fresh device has nothing to drop
        missing_ = false;
    }
    noteDeviceBack(direction_, name_);
    return true;
}

void AlsaDevice::waitForWork(int timeoutMs, bool onDevice) {
    const nfds_t n = onDevice ? static_cast<nfds_t>(fds_.size()) : 1;
    const int r = ::poll(fds_.data(), n, timeoutMs);
    if (r < 0 && errno != EINTR) check(-errno, kPoll);
    if (fds_[0].revents & POLLIN) drainWake();
    if (onDevice && r > 0 && fds_.size() > 1) {
        // Lets plugins (the sound-server one among them) acknowledge their
        // descriptors; transfer() then asks the device for its state itself.
        unsigned short revents = 0;
        check(snd_pcm_poll_descriptors_revents(pcm_, fds_.data() + 1, static_cast<unsigned>(fds_.size() - 1), &revents),
              kPoll);
    }
}

void AlsaDevice::drainWake() const {
    std::uint64_t value = 0;
    [[maybe_unused]] const ssize_t n = ::read(wakeFd_, &value, sizeof value);
}

// A failed call that the stream can live with: said once per kind.
void AlsaDevice::check(int err, unsigned bit) {
    if (err >= 0 || (reportedChecks_ & bit) != 0) return;
    reportedChecks_ |= bit;
    const char* call = bit == kDrop      ? "stopping"
                       : bit == kPrepare ? "preparing"
                       : bit == kPause   ? "pausing or resuming"
                       : bit == kPoll    ? "waiting for"
                       : bit == kStart   ? "starting"
                                         : "closing";
    std::fprintf(stderr, "audio: %s the ALSA %s device '%s' failed: %s\n", call,
                 direction_ == Direction::Input ? "capture" : "playback", name_.c_str(), snd_strerror(err));
}

}  // namespace platform::wave::alsa
