#include "platform/wave/sim_output_stream.h"

#include "platform/wave/frame_timing.h"

#include <algorithm>

namespace platform::wave {

SimOutputStream::SimOutputStream(std::shared_ptr<SimState> state, VirtualClock& clock,
                                 const WAVEFORMATEX& format, BufferSink& sink, UINT device, int ordinal)
    : state_(std::move(state)), clock_(clock), format_(format), sink_(sink), device_(device), ordinal_(ordinal) {}

SimOutputStream::~SimOutputStream() { release(); }

MMRESULT SimOutputStream::prepare(WAVEHDR& /*header*/) { return state_->takeFault(SimCall::Prepare); }

MMRESULT SimOutputStream::submit(WAVEHDR& header) {
    if (const MMRESULT r = state_->takeFault(SimCall::Submit)) return r;
    queue_.push_back({&header, header.lpData, header.dwBufferLength / format_.nBlockAlign});
    ++state_->heldBuffers[1];
    if (running_ && queue_.size() == 1) beginHead(false);
    return MMSYSERR_NOERROR;
}

MMRESULT SimOutputStream::start() {
    if (const MMRESULT r = state_->takeFault(SimCall::Start)) return r;
    if (running_) return MMSYSERR_NOERROR;
    running_ = true;
    if (!queue_.empty()) beginHead(false);
    return MMSYSERR_NOERROR;
}

MMRESULT SimOutputStream::pause() {
    if (const MMRESULT r = state_->takeFault(SimCall::Pause)) return r;
    if (!running_) return MMSYSERR_NOERROR;
    running_ = false;
    if (!queue_.empty()) {
        clock_.cancel(timer_);
        timer_ = 0;
        queue_.front().played += headProgress();
    }
    return MMSYSERR_NOERROR;
}

void SimOutputStream::reset() {
    clock_.cancel(timer_);
    timer_ = 0;
    if (!queue_.empty()) {
        // The head is cut short: log what of it was played.
        Pending& head = queue_.front();
        if (running_) head.played += headProgress();
        if (head.played > 0) log(head, head.played, false);
    }
    while (!queue_.empty()) {
        const Pending p = queue_.front();
        queue_.pop_front();
        --state_->heldBuffers[1];
        sink_.done(*p.header, 0);
    }
}

void SimOutputStream::close() { release(); }

void SimOutputStream::beginHead(bool continuous) {
    if (!continuous) {
        origin_ = clock_.now();
        runFrames_ = 0;
    }
    Pending& head = queue_.front();
    if (head.firstSound < 0) head.firstSound = clock_.now();
    const std::int64_t end = runFrames_ + head.frames - head.played;
    timer_ = clock_.schedule(origin_ + frameTime(end, format_.nSamplesPerSec), [this] { finishHead(); });
}

std::int64_t SimOutputStream::headProgress() const {
    const std::int64_t done = framesAt(clock_.now() - origin_, format_.nSamplesPerSec) - runFrames_;
    const Pending& head = queue_.front();
    return std::clamp<std::int64_t>(done, 0, head.frames - head.played);
}

void SimOutputStream::finishHead() {
    timer_ = 0;
    const Pending head = queue_.front();
    queue_.pop_front();
    --state_->heldBuffers[1];
    runFrames_ += head.frames - head.played;
    log(head, head.frames, true);
    sink_.done(*head.header, 0);
    if (!queue_.empty() && running_) beginHead(true);
}

void SimOutputStream::log(const Pending& p, std::int64_t frames, bool complete) {
    if (!state_->keepPlayed) return;
    PlayedBuffer b;
    b.stream = ordinal_;
    b.format = format_;
    b.start = p.firstSound;
    b.end = clock_.now();
    b.data.assign(p.data, p.data + frames * format_.nBlockAlign);
    b.complete = complete;
    state_->played.push_back(std::move(b));
}

void SimOutputStream::release() {
    if (released_) return;
    released_ = true;
    clock_.cancel(timer_);
    timer_ = 0;
    state_->heldBuffers[1] -= static_cast<int>(queue_.size());
    queue_.clear();
    --state_->openStreams[1];
    --state_->outputOpens[device_];
}

}  // namespace platform::wave
