#include "platform/wave/sim_input_stream.h"

#include "platform/wave/frame_timing.h"

#include <algorithm>
#include <cstring>

namespace platform::wave {

SimInputStream::SimInputStream(std::shared_ptr<SimState> state, VirtualClock& clock,
                               const WAVEFORMATEX& format, BufferSink& sink, UINT device)
    : state_(std::move(state)), clock_(clock), format_(format), sink_(sink), device_(device) {}

SimInputStream::~SimInputStream() { release(); }

MMRESULT SimInputStream::prepare(WAVEHDR& /*header*/) { return state_->takeFault(SimCall::Prepare); }

MMRESULT SimInputStream::submit(WAVEHDR& header) {
    if (const MMRESULT r = state_->takeFault(SimCall::Submit)) return r;
    queue_.push_back({&header, header.lpData, header.dwBufferLength / format_.nBlockAlign});
    ++state_->heldBuffers[0];
    if (recording_ && queue_.size() == 1) beginHead();
    return MMSYSERR_NOERROR;
}

MMRESULT SimInputStream::start() {
    if (const MMRESULT r = state_->takeFault(SimCall::Start)) return r;
    if (recording_) return MMSYSERR_NOERROR;
    recording_ = true;
    origin_ = clock_.now();
    nextFrame_ = 0;
    if (!queue_.empty()) beginHead();
    return MMSYSERR_NOERROR;
}

MMRESULT SimInputStream::pause() {
    if (const MMRESULT r = state_->takeFault(SimCall::Pause)) return r;
    if (!recording_ || queue_.empty()) {
        recording_ = false;
        return MMSYSERR_NOERROR;
    }
    // The buffer being filled comes back with what it holds; the others wait.
    clock_.cancel(timer_);
    timer_ = 0;
    const Pending head = queue_.front();
    const std::int64_t got = std::clamp<std::int64_t>(frameNow() - headFrame_, 0, head.frames);
    fill(head.data, headFrame_, got);
    queue_.pop_front();
    --state_->heldBuffers[0];
    recording_ = false;
    sink_.done(*head.header, static_cast<DWORD>(got * format_.nBlockAlign));
    return MMSYSERR_NOERROR;
}

void SimInputStream::reset() { stopAndReturnAll(); }

void SimInputStream::close() { release(); }

std::int64_t SimInputStream::frameNow() const {
    return framesAt(clock_.now() - origin_, format_.nSamplesPerSec);
}

void SimInputStream::beginHead() {
    headFrame_ = std::max(nextFrame_, frameNow());
    const std::int64_t end = headFrame_ + queue_.front().frames;
    timer_ = clock_.schedule(origin_ + frameTime(end, format_.nSamplesPerSec), [this] { finishHead(); });
}

void SimInputStream::finishHead() {
    timer_ = 0;
    const Pending head = queue_.front();
    queue_.pop_front();
    --state_->heldBuffers[0];
    fill(head.data, headFrame_, head.frames);
    nextFrame_ = headFrame_ + head.frames;
    sink_.done(*head.header, static_cast<DWORD>(head.frames * format_.nBlockAlign));
    if (!queue_.empty()) beginHead();
}

void SimInputStream::stopAndReturnAll() {
    clock_.cancel(timer_);
    timer_ = 0;
    bool first = true;
    while (!queue_.empty()) {
        const Pending p = queue_.front();
        queue_.pop_front();
        --state_->heldBuffers[0];
        std::int64_t got = 0;
        if (first && recording_) {
            got = std::clamp<std::int64_t>(frameNow() - headFrame_, 0, p.frames);
            fill(p.data, headFrame_, got);
        }
        first = false;
        sink_.done(*p.header, static_cast<DWORD>(got * format_.nBlockAlign));
    }
    recording_ = false;
}

void SimInputStream::fill(char* data, std::int64_t firstFrame, std::int64_t frames) {
    if (frames <= 0) return;
    const auto bytes = static_cast<std::size_t>(frames) * format_.nBlockAlign;
    if (state_->source) {
        state_->source(format_, firstFrame, data, static_cast<std::size_t>(frames));
    } else {
        std::memset(data, format_.wBitsPerSample == 8 ? 0x80 : 0, bytes);  // silence
    }
}

void SimInputStream::release() {
    if (released_) return;
    released_ = true;
    clock_.cancel(timer_);
    timer_ = 0;
    state_->heldBuffers[0] -= static_cast<int>(queue_.size());
    queue_.clear();
    --state_->openStreams[0];
    --state_->inputOpens[device_];
}

}  // namespace platform::wave
