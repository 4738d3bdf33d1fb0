#include "platform/wave/alsa_stream.h"

#include "platform/wave/device_status.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace platform::wave {
namespace {

// A running device that moves no frame for this long is taken as gone.
constexpr std::int64_t kStallMilliseconds = 3000;
constexpr int kActivePollMilliseconds = 500;

std::int64_t nowMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

AlsaFailure AlsaStream::create(Direction direction, std::string name, const WAVEFORMATEX& format,
                               snd_pcm_t* pcm, const AlsaPcmSetup& setup, BufferSink& sink,
                               std::unique_ptr<Stream>& out) {
    const int wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd < 0) {
        snd_pcm_close(pcm);
        return {MMSYSERR_NOMEM, "Cannot create the wake-up descriptor of the ALSA device '" + name + "'"};
    }
    auto stream = std::make_unique<AlsaStream>(direction, std::move(name), format, pcm, setup, sink, wakeFd);
    stream->thread_ = std::thread([s = stream.get()] { s->run(); });
    out = std::move(stream);
    return {};
}

AlsaStream::AlsaStream(Direction direction, std::string name, const WAVEFORMATEX& format, snd_pcm_t* pcm,
                       const AlsaPcmSetup& setup, BufferSink& sink, int wakeFd)
    : direction_(direction),
      name_(std::move(name)),
      format_(format),
      setup_(setup),
      pcm_(pcm),
      sink_(sink),
      wakeFd_(wakeFd),
      ring_(16),
      running_(direction == Direction::Output) {
    const int n = std::max(snd_pcm_poll_descriptors_count(pcm_), 0);
    fds_.resize(static_cast<std::size_t>(n) + 1);
    fds_[0] = pollfd{wakeFd_, POLLIN, 0};
    if (n > 0) snd_pcm_poll_descriptors(pcm_, fds_.data() + 1, static_cast<unsigned>(n));
}

AlsaStream::~AlsaStream() { close(); }

// ---------------------------------------------------------------- UI side

MMRESULT AlsaStream::submit(WAVEHDR& header) {
    {
        std::lock_guard guard(lock_);
        if (failed_) return failCode_;
        push({&header, header.lpData, header.dwBufferLength / format_.nBlockAlign});
    }
    wake();
    return MMSYSERR_NOERROR;
}

MMRESULT AlsaStream::start() { return command(Command::Start); }

MMRESULT AlsaStream::pause() { return command(Command::Pause); }

void AlsaStream::reset() { command(Command::Reset); }

void AlsaStream::close() {
    if (closed_) return;
    closed_ = true;
    command(Command::Quit);
    thread_.join();
    snd_pcm_close(pcm_);
    pcm_ = nullptr;
    ::close(wakeFd_);
}

MMRESULT AlsaStream::command(Command c) {
    std::unique_lock guard(lock_);
    command_ = c;
    commandFinished_ = false;
    wake();
    commandDone_.wait(guard, [this] { return commandFinished_; });
    return commandResult_;
}

void AlsaStream::wake() const {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);  // full counter: already awake
}

void AlsaStream::push(const Entry& e) {
    if (count_ == ring_.size()) {
        std::vector<Entry> bigger(ring_.size() * 2);
        for (std::size_t i = 0; i < count_; ++i) bigger[i] = ring_[(first_ + i) % ring_.size()];
        ring_ = std::move(bigger);
        first_ = 0;
    }
    ring_[(first_ + count_) % ring_.size()] = e;
    ++count_;
}

AlsaStream::Entry AlsaStream::pop() {
    const Entry e = ring_[first_];
    first_ = (first_ + 1) % ring_.size();
    --count_;
    return e;
}

// ---------------------------------------------------------- device thread

void AlsaStream::run() {
    for (;;) {
        Command c;
        {
            std::lock_guard guard(lock_);
            c = command_;
        }
        if (c != Command::None) {
            const MMRESULT r = execute(c);
            {
                std::lock_guard guard(lock_);
                command_ = Command::None;
                commandResult_ = r;
                commandFinished_ = true;
            }
            commandDone_.notify_all();
            if (c == Command::Quit) return;
            continue;
        }
        bool failed;
        {
            std::lock_guard guard(lock_);
            failed = failed_;
        }
        const bool active = !failed && running_ && (haveCurrent_ || takeNext());
        if (active && !wasActive_) lastProgress_ = nowMilliseconds();
        wasActive_ = active;
        if (active && !transfer()) continue;  // failed: the next round sleeps
        waitForWork(active && haveCurrent_);
    }
}

MMRESULT AlsaStream::execute(Command c) {
    bool failed;
    MMRESULT failCode;
    {
        std::lock_guard guard(lock_);
        failed = failed_;
        failCode = failCode_;
    }
    const bool input = direction_ == Direction::Input;
    switch (c) {
        case Command::None:
            return MMSYSERR_NOERROR;
        case Command::Start: {
            if (failed) return failCode;
            if (running_) return MMSYSERR_NOERROR;
            const snd_pcm_state_t state = snd_pcm_state(pcm_);
            int e = 0;
            if (input) {
                if (state != SND_PCM_STATE_PREPARED) e = snd_pcm_prepare(pcm_);
                if (e >= 0) e = snd_pcm_start(pcm_);
            } else if (state == SND_PCM_STATE_PAUSED) {
                e = snd_pcm_pause(pcm_, 0);
            }
            if (e < 0) {
                const AlsaFailure f = alsaFailure(AlsaStep::Start, direction_, name_, e);
                noteDeviceError(direction_, f.text);
                return f.code;
            }
            running_ = true;
            return MMSYSERR_NOERROR;
        }
        case Command::Pause:
            if (!running_) return MMSYSERR_NOERROR;
            running_ = false;
            if (failed) return MMSYSERR_NOERROR;
            if (input) {
                snd_pcm_drop(pcm_);
                if (haveCurrent_ || takeNext()) finishCurrent(offset_);
                snd_pcm_prepare(pcm_);
            } else if (snd_pcm_state(pcm_) == SND_PCM_STATE_RUNNING) {
                if (!setup_.canPause || snd_pcm_pause(pcm_, 1) < 0) {
                    snd_pcm_drop(pcm_);  // no pause on this device: what it holds is lost
                    snd_pcm_prepare(pcm_);
                }
            }
            return MMSYSERR_NOERROR;
        case Command::Reset:
            if (!failed) snd_pcm_drop(pcm_);
            returnAll(input && running_);
            if (input) running_ = false;
            if (!failed) snd_pcm_prepare(pcm_);
            return MMSYSERR_NOERROR;
        case Command::Quit:
            if (!failed) snd_pcm_drop(pcm_);
            returnAll(false);  // nothing is queued at close; this is only a safety net
            return MMSYSERR_NOERROR;
    }
    return MMSYSERR_NOERROR;
}

// Makes the queue's head the current buffer; false when nothing is queued.
bool AlsaStream::takeNext() {
    std::lock_guard guard(lock_);
    if (queueEmpty()) return false;
    current_ = pop();
    haveCurrent_ = true;
    offset_ = 0;
    return true;
}

void AlsaStream::finishCurrent(snd_pcm_uframes_t frames) {
    haveCurrent_ = false;
    const DWORD bytes = direction_ == Direction::Input ? static_cast<DWORD>(frames * format_.nBlockAlign) : 0;
    sink_.done(*current_.header, bytes);
}

// Gives back the current buffer (with the frames it holds when keepPartial)
// and then every queued one, in order.
void AlsaStream::returnAll(bool keepPartial) {
    if (haveCurrent_) finishCurrent(keepPartial ? offset_ : 0);
    while (takeNext()) finishCurrent(0);
}

// Moves frames until the device has no more to give or take, or the queue
// is empty. False when the device failed (the stream has been ended).
bool AlsaStream::transfer() {
    const bool input = direction_ == Direction::Input;
    for (;;) {
        if (!haveCurrent_ && !takeNext()) break;
        if (current_.frames == offset_) {  // an empty buffer, or one just completed
            finishCurrent(offset_);
            continue;
        }
        const snd_pcm_state_t state = snd_pcm_state(pcm_);
        if (state == SND_PCM_STATE_DISCONNECTED) {
            fail(-ENODEV);
            return false;
        }
        if (state == SND_PCM_STATE_XRUN || state == SND_PCM_STATE_SUSPENDED) {
            if (!recover(state == SND_PCM_STATE_XRUN ? -EPIPE : -ESTRPIPE)) return false;
            continue;
        }
        const snd_pcm_sframes_t avail = snd_pcm_avail_update(pcm_);
        if (avail < 0) {
            if (!recover(static_cast<int>(avail))) return false;
            continue;
        }
        if (avail == 0) break;
        const snd_pcm_uframes_t want =
            std::min<snd_pcm_uframes_t>(static_cast<snd_pcm_uframes_t>(avail), current_.frames - offset_);
        char* at = current_.data + offset_ * format_.nBlockAlign;
        const snd_pcm_sframes_t moved = input ? snd_pcm_readi(pcm_, at, want) : snd_pcm_writei(pcm_, at, want);
        if (moved == -EAGAIN) break;
        if (moved < 0) {
            if (!recover(static_cast<int>(moved))) return false;
            continue;
        }
        if (moved == 0) break;
        offset_ += static_cast<snd_pcm_uframes_t>(moved);
        lastProgress_ = nowMilliseconds();
    }
    // A last stretch shorter than the start threshold would never start.
    if (!input && !haveCurrent_ && snd_pcm_state(pcm_) == SND_PCM_STATE_PREPARED) {
        const snd_pcm_sframes_t avail = snd_pcm_avail_update(pcm_);
        if (avail >= 0 && static_cast<snd_pcm_uframes_t>(avail) < setup_.bufferFrames) snd_pcm_start(pcm_);
    }
    if (nowMilliseconds() - lastProgress_ > kStallMilliseconds && haveCurrent_) {
        fail(-EIO, "no audio has moved for 3 seconds");
        return false;
    }
    return true;
}

bool AlsaStream::recover(int err) {
    if (err == -EAGAIN) return true;
    // A device that went away also shows up as an xrun (the sound-server
    // plugin reports a lost server that way); then the recovery fails too.
    if (const int r = snd_pcm_recover(pcm_, err, 1); r < 0) {
        fail(r);
        return false;
    }
    if (err == -EPIPE || err == -ESTRPIPE) noteXrun(direction_, name_);
    if (direction_ == Direction::Input) {
        if (const int r = snd_pcm_start(pcm_); r < 0) {
            fail(r);
            return false;
        }
    }
    lastProgress_ = nowMilliseconds();
    return true;
}

void AlsaStream::fail(int err, const char* what) {
    const AlsaFailure f = alsaFailure(AlsaStep::Transfer, direction_, name_, err, what != nullptr ? what : "");
    noteDeviceError(direction_, f.text);
    snd_pcm_drop(pcm_);
    {
        std::lock_guard guard(lock_);
        failed_ = true;
        failCode_ = f.code;
    }
    returnAll(direction_ == Direction::Input);
}

void AlsaStream::waitForWork(bool active) {
    const nfds_t n = active ? static_cast<nfds_t>(fds_.size()) : 1;
    const int r = ::poll(fds_.data(), n, active ? kActivePollMilliseconds : -1);
    if (r < 0 && errno != EINTR) {
        fail(-errno);
        return;
    }
    if (fds_[0].revents & POLLIN) drainWake();
    if (active && r > 0) {
        // Lets plugins (the sound-server one among them) acknowledge their
        // descriptors; transfer() then asks the device for its state itself.
        unsigned short revents = 0;
        snd_pcm_poll_descriptors_revents(pcm_, fds_.data() + 1, static_cast<unsigned>(fds_.size() - 1), &revents);
    }
}

void AlsaStream::drainWake() const {
    std::uint64_t value = 0;
    [[maybe_unused]] const ssize_t n = ::read(wakeFd_, &value, sizeof value);
}

}  // namespace platform::wave
