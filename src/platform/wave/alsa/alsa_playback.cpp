#include "platform/wave/alsa/alsa_playback.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform::wave::alsa {

AlsaPlayback::AlsaPlayback(std::string name, const WAVEFORMATEX& format, snd_pcm_t* pcm,
                           const AlsaPcmSetup& setup, bool hardwarePause, BufferSink& sink, int wakeFd)
    : AlsaDevice(Direction::Output, std::move(name), format, pcm, setup, true, sink, wakeFd),
      hardwarePause_(hardwarePause) {}

// ---------------------------------------------------------------- UI side

// A device thread with a buffer still to write is waiting on the device.
bool AlsaPlayback::waitsForBuffer() const { return written_ == count_; }

// A paused playback keeps its buffers: they play on where they were.
void AlsaPlayback::stopping() {}

// The head goes back with the frames of it played so far.
void AlsaPlayback::returnQueued() {
    returnAll(playedFrames_);
    written_ = 0;
    writeFrames_ = 0;
    playedFrames_ = 0;
    inRing_ = 0;
}

// `frames` more of what was written have been played; the buffers played to
// their end go back.
void AlsaPlayback::notePlayed(snd_pcm_uframes_t frames) {
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

// What the device held and had not played is to be written again.
void AlsaPlayback::rewindToPlayed() {
    written_ = 0;
    writeFrames_ = playedFrames_;
    inRing_ = 0;
}

// ---------------------------------------------------------- device thread

AlsaDevice::Activity AlsaPlayback::activity(bool go) const {
    const bool unwritten = written_ < count_;
    Activity next;
    next.active = go && (unwritten || inRing_ > 0);
    next.onDevice = go && unwritten;
    if (next.onDevice)
        next.timeout = kActivePollMilliseconds;
    else if (next.active)
        next.timeout = playbackTimeout();
    return next;
}

// Time until the head buffer has played out, when nothing more can be written.
int AlsaPlayback::playbackTimeout() const {
    if (count_ == 0) return -1;
    const snd_pcm_uframes_t left = std::min(head().frames - playedFrames_, inRing_);
    const auto ms = static_cast<std::int64_t>(left * 1000 / format_.nSamplesPerSec) + 2;
    return static_cast<int>(std::clamp<std::int64_t>(ms, 2, kActivePollMilliseconds));
}

// What the lost ring held is written again when the device is back.
void AlsaPlayback::deviceLost() { rewindToPlayed(); }

void AlsaPlayback::applyRunning(bool wantRunning, MMRESULT& /*result*/) {
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
void AlsaPlayback::pausePlayback() {
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

AlsaDevice::Next AlsaPlayback::transfer(int& err) {
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

snd_pcm_sframes_t AlsaPlayback::writeFrames(snd_pcm_uframes_t room, std::uint64_t returned) {
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

// After an underrun the ring ran dry: all of it was played.
bool AlsaPlayback::recovered(bool xrun) {
    if (xrun) {
        std::lock_guard guard(lock_);
        notePlayed(inRing_);
    }
    return true;
}

void AlsaPlayback::forgetDevice() {
    paused_ = false;
    hardwarePaused_ = false;
}

}  // namespace platform::wave::alsa
