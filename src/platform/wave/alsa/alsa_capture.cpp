#include "platform/wave/alsa/alsa_capture.h"

#include "platform/wave/device_status.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform::wave::alsa {

AlsaCapture::AlsaCapture(std::string name, const WAVEFORMATEX& format, snd_pcm_t* pcm, const AlsaPcmSetup& setup,
                         BufferSink& sink, int wakeFd)
    : AlsaDevice(Direction::Input, std::move(name), format, pcm, setup, false, sink, wakeFd) {}

// ---------------------------------------------------------------- UI side

// A device thread with a buffer still to record into is waiting on the device.
bool AlsaCapture::waitsForBuffer() const { return count_ == 0; }

// A capture stopped gives back the buffer being recorded, with what it holds.
void AlsaCapture::stopping() {
    if (count_ > 0) {
        finishHead(headFrames_);
        headFrames_ = 0;
        ++returned_;
    }
}

// The head goes back with the frames recorded into it while recording; a
// reset also stops the capture.
void AlsaCapture::returnQueued() {
    returnAll(wantRunning_ ? headFrames_ : 0);
    headFrames_ = 0;
    wantRunning_ = false;
}

// ---------------------------------------------------------- device thread

AlsaDevice::Activity AlsaCapture::activity(bool go) const {
    const bool active = go && recording_ && count_ > 0;
    return {active, active, active ? kActivePollMilliseconds : -1};
}

// What the buffer being recorded holds is kept for when the device is back.
void AlsaCapture::deviceLost() {}

void AlsaCapture::applyRunning(bool wantRunning, MMRESULT& result) {
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
}

// Each call of the device may also wake the sound-server plugin's thread, and
// every read hands the sound server's memory back through it: a capture round
// asks for the state and for what is there once, and reads all of that (as
// far as the queued buffers have room) in one call, then spreads it over the
// buffers; what arrives meanwhile is read at the next wake-up.
AlsaDevice::Next AlsaCapture::transfer(int& err) {
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

// A capture that was recording is started again.
bool AlsaCapture::recovered(bool /*xrun*/) {
    if (recording_) {
        if (const int r = snd_pcm_start(pcm_); r < 0) {
            lose(r);
            return false;
        }
    }
    return true;
}

void AlsaCapture::forgetDevice() { recording_ = false; }

}  // namespace platform::wave::alsa
