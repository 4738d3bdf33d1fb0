#include "platform/wave/alsa/alsa_device.h"

#include "platform/wave/device_status.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace platform::wave::alsa {
namespace {

// A running device that moves no frame for this long is taken as gone.
constexpr std::int64_t kStallMilliseconds = 3000;
constexpr int kActivePollMilliseconds = 500;
// A missing device is tried again this often.
constexpr std::int64_t kReopenMilliseconds = 500;

std::int64_t nowMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Bits of AlsaDevice::reportedChecks_: each failing call is logged once.
enum CheckBit : unsigned { kDrop = 1, kPrepare = 2, kPause = 4, kPoll = 8, kStart = 16, kClose = 32 };

}  // namespace

AlsaDevice::AlsaDevice(Direction direction, std::string name, const WAVEFORMATEX& format, snd_pcm_t* pcm,
                       const AlsaPcmSetup& setup, bool hardwarePause, BufferSink& sink, int wakeFd)
    : direction_(direction),
      name_(std::move(name)),
      format_(format),
      hardwarePause_(hardwarePause),
      sink_(sink),
      wakeFd_(wakeFd),
      pcm_(nullptr),
      setup_(setup),
      wantRunning_(direction == Direction::Output),
      ring_(16) {
    usePcm(pcm);
}

AlsaDevice::~AlsaDevice() {
    if (pcm_ != nullptr) snd_pcm_close(pcm_);
    ::close(wakeFd_);
}

void AlsaDevice::usePcm(snd_pcm_t* pcm) {
    pcm_ = pcm;
    const int count = snd_pcm_poll_descriptors_count(pcm_);
    check(count, kPoll);  // without them the thread still looks every half second
    const int n = std::max(count, 0);
    fds_.assign(static_cast<std::size_t>(n) + 1, pollfd{});
    fds_[0] = pollfd{wakeFd_, POLLIN, 0};
    if (n > 0) snd_pcm_poll_descriptors(pcm_, fds_.data() + 1, static_cast<unsigned>(n));
    recording_ = false;
    paused_ = false;
    hardwarePaused_ = false;
    lastProgress_ = nowMilliseconds();
}

// ---------------------------------------------------------------- UI side

MMRESULT AlsaDevice::submit(WAVEHDR& header) {
    bool idle = false;
    {
        std::lock_guard guard(lock_);
        // A device thread with a buffer still to record into, or one still to
        // write, is waiting on the device and comes to this one by itself.
        idle = direction_ == Direction::Input ? count_ == 0 : written_ == count_;
        push({&header, header.lpData, header.dwBufferLength / format_.nBlockAlign});
    }
    if (idle) wake();
    return MMSYSERR_NOERROR;
}

MMRESULT AlsaDevice::setRunning(bool running) {
    std::unique_lock guard(lock_);
    // A capture stopped gives back the buffer being recorded, with what it holds.
    if (direction_ == Direction::Input && !running && wantRunning_ && count_ > 0) {
        finishHead(headFrames_);
        headFrames_ = 0;
        ++returned_;
    }
    wantRunning_ = running;
    const std::uint64_t request = ++request_;
    wake();
    return waitApplied(guard, request);
}

void AlsaDevice::reset() {
    std::unique_lock guard(lock_);
    const bool input = direction_ == Direction::Input;
    returnAll(input && wantRunning_);
    if (input) wantRunning_ = false;
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

// Gives back every buffer in order and forgets where the device was in them.
// Capture: the head with the frames recorded into it when keepRecorded.
// Playback: the head with the frames of it played so far.
void AlsaDevice::returnAll(bool keepRecorded) {
    const snd_pcm_uframes_t headFrames =
        direction_ == Direction::Input ? (keepRecorded ? headFrames_ : 0) : playedFrames_;
    ++returned_;
    bool first = true;
    while (count_ > 0) {
        finishHead(first ? headFrames : 0);
        first = false;
    }
    headFrames_ = 0;
    written_ = 0;
    writeFrames_ = 0;
    playedFrames_ = 0;
    inRing_ = 0;
}

// Playback: `frames` more of what was written have been played; the buffers
// played to their end go back.
void AlsaDevice::notePlayed(snd_pcm_uframes_t frames) {
    frames = std::min(frames, inRing_);
    inRing_ -= frames;
    if (frames > 0) lastProgress_ = nowMilliseconds();
    while (count_ > 0) {
        const bool whole = written_ > 0;
        const snd_pcm_uframes_t writtenOfHead = whole ? head().frames : writeFrames_;
        const snd_pcm_uframes_t take = std::min(frames, writtenOfHead - playedFrames_);
        playedFrames_ += take;
        frames -= take;
        if (!whole || playedFrames_ < head().frames) break;
        finishHead(0);
        --written_;
        playedFrames_ = 0;
    }
}

// Playback: what the device held and had not played is to be written again.
void AlsaDevice::rewindToPlayed() {
    written_ = 0;
    writeFrames_ = playedFrames_;
    inRing_ = 0;
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

        bool active, onDevice;
        int timeout = -1;
        {
            std::lock_guard guard(lock_);
            const bool go = transferable();
            if (direction_ == Direction::Input) {
                active = go && recording_ && count_ > 0;
                onDevice = active;
                if (active) timeout = kActivePollMilliseconds;
            } else {
                const bool unwritten = written_ < count_;
                active = go && (unwritten || inRing_ > 0);
                onDevice = go && unwritten;
                if (onDevice)
                    timeout = kActivePollMilliseconds;
                else if (active)
                    timeout = playbackTimeout();
            }
        }
        if (active && !wasActive_) lastProgress_ = nowMilliseconds();
        wasActive_ = active;
        if (active && nowMilliseconds() - lastProgress_ > kStallMilliseconds) {
            lose(-EIO, "no audio has moved for 3 seconds");
            continue;
        }
        waitForWork(timeout, onDevice);
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
        recording_ = false;
        hardwarePaused_ = false;
        paused_ = false;
        std::lock_guard guard(lock_);
        appliedReset_ = resetRequest;
    }
    applyRunning(wantRunning, result);
}

void AlsaDevice::applyRunning(bool wantRunning, MMRESULT& result) {
    if (direction_ == Direction::Input) {
        if (wantRunning && !recording_) {
            int e = 0;
            if (snd_pcm_state(pcm_) != SND_PCM_STATE_PREPARED) e = snd_pcm_prepare(pcm_);
            if (e >= 0) e = snd_pcm_start(pcm_);
            if (e < 0) {
                const AlsaFailure f = alsaFailure(AlsaStep::Start, direction_, name_, e);
                if (f.code == MMSYSERR_NODRIVER) {
                    lose(e);  // gone: it starts when it is back
                    return;
                }
                noteDeviceError(direction_, f.text);
                result = f.code;
                return;
            }
            recording_ = true;
            lastProgress_ = nowMilliseconds();
        } else if (!wantRunning && recording_) {
            check(snd_pcm_drop(pcm_), kDrop);
            check(snd_pcm_prepare(pcm_), kPrepare);
            recording_ = false;
        }
        return;
    }
    if (!wantRunning && !paused_) {
        pausePlayback();
        paused_ = true;
    } else if (wantRunning && paused_) {
        paused_ = false;
        if (!hardwarePaused_) return;
        hardwarePaused_ = false;
        if (const int e = snd_pcm_pause(pcm_, 0); e < 0) {
            // The device kept what it held but will not go on: write it again.
            check(e, kPause);
            {
                std::lock_guard guard(lock_);
                rewindToPlayed();
            }
            check(snd_pcm_drop(pcm_), kDrop);
            check(snd_pcm_prepare(pcm_), kPrepare);
        }
        lastProgress_ = nowMilliseconds();
    }
}

// Halts playback where it is. With hardware pause the device keeps what it
// holds; without, it drops it, and what it had not played yet is written
// again at the restart, so nothing is lost either way.
void AlsaDevice::pausePlayback() {
    const snd_pcm_state_t state = snd_pcm_state(pcm_);
    if (state == SND_PCM_STATE_RUNNING && setup_.canPause && hardwarePause_) {
        const int e = snd_pcm_pause(pcm_, 1);
        if (e >= 0) {
            hardwarePaused_ = true;
            return;
        }
        check(e, kPause);
    }
    snd_pcm_sframes_t delay = 0;
    const bool held = state == SND_PCM_STATE_RUNNING && snd_pcm_delay(pcm_, &delay) >= 0;
    {
        std::lock_guard guard(lock_);
        if (state == SND_PCM_STATE_XRUN) {
            notePlayed(inRing_);
        } else if (held) {
            const auto frames = static_cast<snd_pcm_uframes_t>(std::max<snd_pcm_sframes_t>(delay, 0));
            notePlayed(inRing_ - std::min(frames, inRing_));
        }
        rewindToPlayed();
    }
    check(snd_pcm_drop(pcm_), kDrop);
    check(snd_pcm_prepare(pcm_), kPrepare);
}

AlsaDevice::Next AlsaDevice::transfer(int& err) {
    return direction_ == Direction::Input ? transferInput(err) : transferOutput(err);
}

// The device is only ever called outside the lock: a sound-server plugin
// takes locks of its own inside any call, and may hold them for milliseconds.
// Frames therefore move through scratch_, and the buffers themselves are only
// read or written under the lock. When the UI side gave buffers back in the
// meantime (returned_ moved on), the frames moved belong to none of them: a
// capture drops them, a playback does not count them (the reset drops them
// from the device too).
//
// Each such call may also wake the plugin's thread, and every read hands the
// sound server's memory back through it: a capture round asks for the state
// and for what is there once, and reads all of that (as far as the queued
// buffers have room) in one call, then spreads it over the buffers; what
// arrives meanwhile is read at the next wake-up.
AlsaDevice::Next AlsaDevice::transferInput(int& err) {
    {
        std::lock_guard guard(lock_);
        if (!transferable() || !recording_) return Next::Wait;
        while (count_ > 0 && head().frames == 0) finishHead(0);  // empty buffers go back as they are
        if (count_ == 0) return Next::Wait;
    }
    const snd_pcm_state_t state = snd_pcm_state(pcm_);
    if (state == SND_PCM_STATE_DISCONNECTED) {
        err = -ENODEV;
        return Next::Lost;
    }
    if (state == SND_PCM_STATE_XRUN || state == SND_PCM_STATE_SUSPENDED) {
        err = state == SND_PCM_STATE_XRUN ? -EPIPE : -ESTRPIPE;
        return Next::Recover;
    }
    const snd_pcm_sframes_t avail = snd_pcm_avail_update(pcm_);
    if (avail < 0) {
        err = static_cast<int>(avail);
        return Next::Recover;
    }
    if (avail == 0) return Next::Wait;
    snd_pcm_uframes_t room = 0;
    std::uint64_t returned = 0;
    {
        std::lock_guard guard(lock_);
        if (!transferable() || !recording_ || count_ == 0) return Next::Wait;
        room = head().frames - headFrames_;
        for (std::size_t i = 1; i < count_; ++i) room += at(i).frames;
        returned = returned_;
    }
    const snd_pcm_uframes_t want = std::min(static_cast<snd_pcm_uframes_t>(avail), room);
    const std::size_t bytes = want * format_.nBlockAlign;
    if (scratch_.size() < bytes) scratch_.resize(bytes);
    const snd_pcm_sframes_t moved = snd_pcm_readi(pcm_, scratch_.data(), want);
    if (moved == -EAGAIN || moved == 0) return Next::Wait;
    if (moved < 0) {
        err = static_cast<int>(moved);
        return Next::Recover;
    }
    std::lock_guard guard(lock_);
    if (returned != returned_) return Next::Wait;  // they went back meanwhile: the frames belong to none
    lastProgress_ = nowMilliseconds();
    auto left = static_cast<snd_pcm_uframes_t>(moved);
    const char* from = scratch_.data();
    while (count_ > 0) {
        Entry& h = head();
        if (headFrames_ == h.frames) {  // an empty buffer, or one just completed
            finishHead(headFrames_);
            headFrames_ = 0;
            continue;
        }
        if (left == 0) break;
        const snd_pcm_uframes_t fit = std::min(left, h.frames - headFrames_);
        std::memcpy(h.data + headFrames_ * format_.nBlockAlign, from, fit * format_.nBlockAlign);
        from += fit * format_.nBlockAlign;
        headFrames_ += fit;
        left -= fit;
    }
    return Next::Wait;
}

AlsaDevice::Next AlsaDevice::transferOutput(int& err) {
    for (;;) {
        std::uint64_t returned = 0;
        snd_pcm_uframes_t inRing = 0;
        {
            // A restart asked for since this round began is carried out first.
            std::lock_guard guard(lock_);
            if (!transferable() || paused_) return Next::Wait;
            returned = returned_;
            inRing = inRing_;
        }
        const snd_pcm_state_t state = snd_pcm_state(pcm_);
        if (state == SND_PCM_STATE_DISCONNECTED) {
            err = -ENODEV;
            return Next::Lost;
        }
        if (state == SND_PCM_STATE_XRUN) {
            std::lock_guard guard(lock_);
            notePlayed(inRing_);  // the ring ran dry: all of it was played
            if (written_ == count_) return Next::Wait;  // nothing more to play yet
            err = -EPIPE;
            return Next::Recover;
        }
        if (state == SND_PCM_STATE_SUSPENDED) {
            err = -ESTRPIPE;
            return Next::Recover;
        }
        if (state == SND_PCM_STATE_RUNNING && inRing > 0) {
            snd_pcm_sframes_t delay = 0;
            if (const int e = snd_pcm_delay(pcm_, &delay); e < 0) {
                err = e;
                return Next::Recover;
            }
            const auto held = static_cast<snd_pcm_uframes_t>(std::max<snd_pcm_sframes_t>(delay, 0));
            std::lock_guard guard(lock_);
            if (returned == returned_) notePlayed(inRing_ - std::min(held, inRing_));
        }
        snd_pcm_uframes_t room = 0;
        {
            std::lock_guard guard(lock_);
            if (returned != returned_) continue;
            if (written_ == count_) {
                return state == SND_PCM_STATE_PREPARED && inRing_ > 0 ? Next::StartShortTail : Next::Wait;
            }
            const Entry& e = at(written_);
            if (writeFrames_ == e.frames) {
                ++written_;
                writeFrames_ = 0;
                notePlayed(0);  // an empty buffer at the head goes back
                continue;
            }
            room = e.frames - writeFrames_;
        }
        // 0 also when the buffers went back meanwhile: the reset that did it
        // has woken this thread, so the wait ends at once.
        const snd_pcm_sframes_t moved = writeFrames(room, returned);
        if (moved == 0) return Next::Wait;
        if (moved < 0) {
            err = static_cast<int>(moved);
            return Next::Recover;
        }
        std::lock_guard guard(lock_);
        if (returned == returned_) {
            writeFrames_ += static_cast<snd_pcm_uframes_t>(moved);
            inRing_ += static_cast<snd_pcm_uframes_t>(moved);
        }
        lastProgress_ = nowMilliseconds();
    }
}

snd_pcm_sframes_t AlsaDevice::writeFrames(snd_pcm_uframes_t room, std::uint64_t returned) {
    const snd_pcm_sframes_t avail = snd_pcm_avail_update(pcm_);
    if (avail <= 0) return avail;
    const snd_pcm_uframes_t want = std::min(static_cast<snd_pcm_uframes_t>(avail), room);
    const std::size_t bytes = want * format_.nBlockAlign;
    if (scratch_.size() < bytes) scratch_.resize(bytes);
    {
        std::lock_guard guard(lock_);
        if (returned != returned_) return 0;
        std::memcpy(scratch_.data(), at(written_).data + writeFrames_ * format_.nBlockAlign, bytes);
    }
    const snd_pcm_sframes_t moved = snd_pcm_writei(pcm_, scratch_.data(), want);
    return moved == -EAGAIN ? 0 : moved;
}

// Time until the head buffer has played out, when nothing more can be written.
int AlsaDevice::playbackTimeout() const {
    if (count_ == 0) return -1;
    const snd_pcm_uframes_t left = std::min(ring_[first_].frames - playedFrames_, inRing_);
    const auto ms = static_cast<std::int64_t>(left * 1000 / format_.nSamplesPerSec) + 2;
    return static_cast<int>(std::clamp<std::int64_t>(ms, 2, kActivePollMilliseconds));
}

bool AlsaDevice::recover(int err) {
    if (err == -EAGAIN) return true;
    // A device that went away also shows up as an xrun (the sound-server
    // plugin reports a lost server that way); then the recovery fails too.
    if (const int r = snd_pcm_recover(pcm_, err, 1); r < 0) {
        lose(r);
        return false;
    }
    if (err == -EPIPE || err == -ESTRPIPE) {
        noteXrun(direction_, name_);
        if (direction_ == Direction::Output) {
            std::lock_guard guard(lock_);
            notePlayed(inRing_);
        }
    }
    if (direction_ == Direction::Input && recording_) {
        if (const int r = snd_pcm_start(pcm_); r < 0) {
            lose(r);
            return false;
        }
    }
    lastProgress_ = nowMilliseconds();
    return true;
}

// The device is gone: close it and try again later. Capture keeps what the
// buffer being recorded holds; playback writes again what the lost ring held.
void AlsaDevice::lose(int err, const char* what) {
    noteDeviceMissing(direction_, name_, what != nullptr ? what : snd_strerror(err));
    {
        std::lock_guard guard(lock_);
        if (direction_ == Direction::Output) rewindToPlayed();
        missing_ = true;
    }
    check(snd_pcm_close(pcm_), kClose);
    pcm_ = nullptr;
    fds_.resize(1);
    recording_ = false;
    paused_ = false;
    hardwarePaused_ = false;
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
