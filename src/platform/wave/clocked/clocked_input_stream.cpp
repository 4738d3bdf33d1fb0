#include "platform/wave/clocked/clocked_input_stream.h"

#include "platform/wave/clocked/frame_timing.h"

#include <algorithm>

namespace platform::wave::clocked {

ClockedInputStream::ClockedInputStream(VirtualClock& clock, const WAVEFORMATEX& format, BufferSink& sink,
                                       ClockedSource& source, std::function<void()> onClose)
    : clock_(clock), format_(format), sink_(sink), source_(source), onClose_(std::move(onClose)) {}

ClockedInputStream::~ClockedInputStream() { release(); }

MMRESULT ClockedInputStream::submit(WAVEHDR& header) {
    queue_.push_back({&header, header.lpData, header.dwBufferLength / format_.nBlockAlign});
    heldChanged(1);
    if (recording_ && queue_.size() == 1) beginHead();
    return MMSYSERR_NOERROR;
}

MMRESULT ClockedInputStream::start() {
    if (recording_) return MMSYSERR_NOERROR;
    recording_ = true;
    origin_ = clock_.now();
    nextFrame_ = 0;
    source_.started(format_, origin_);
    if (!queue_.empty()) beginHead();
    return MMSYSERR_NOERROR;
}

MMRESULT ClockedInputStream::pause() {
    if (!recording_) return MMSYSERR_NOERROR;
    returnQueued(false);
    stopRecording();
    return MMSYSERR_NOERROR;
}

void ClockedInputStream::reset() {
    returnQueued(true);
    stopRecording();
}

void ClockedInputStream::close() { release(); }

std::int64_t ClockedInputStream::frameNow() const {
    return framesAt(clock_.now() - origin_, format_.nSamplesPerSec);
}

void ClockedInputStream::beginHead() {
    headFrame_ = std::max(nextFrame_, frameNow());
    const std::int64_t end = headFrame_ + queue_.front().frames;
    timer_ = clock_.schedule(origin_ + frameTime(end, format_.nSamplesPerSec), [this] { finishHead(); });
}

void ClockedInputStream::finishHead() {
    timer_ = 0;
    const Pending head = queue_.front();
    queue_.pop_front();
    heldChanged(-1);
    fill(head.data, headFrame_, head.frames);
    nextFrame_ = headFrame_ + head.frames;
    sink_.done(*head.header, static_cast<DWORD>(head.frames * format_.nBlockAlign));
    if (!queue_.empty()) beginHead();
}

void ClockedInputStream::returnQueued(bool all) {
    clock_.cancel(timer_);
    timer_ = 0;
    bool first = true;
    while (!queue_.empty() && (all || first)) {
        const Pending p = queue_.front();
        queue_.pop_front();
        heldChanged(-1);
        std::int64_t got = 0;
        if (first && recording_) {
            got = std::clamp<std::int64_t>(frameNow() - headFrame_, 0, p.frames);
            fill(p.data, headFrame_, got);
            nextFrame_ = headFrame_ + got;
        }
        first = false;
        sink_.done(*p.header, static_cast<DWORD>(got * format_.nBlockAlign));
    }
}

void ClockedInputStream::fill(char* data, std::int64_t firstFrame, std::int64_t frames) {
    if (frames > 0) source_.fill(format_, origin_, firstFrame, data, static_cast<std::size_t>(frames));
}

void ClockedInputStream::stopRecording() {
    if (!recording_) return;
    recording_ = false;
    source_.stopped();
}

void ClockedInputStream::release() {
    if (released_) return;
    released_ = true;
    clock_.cancel(timer_);
    timer_ = 0;
    heldChanged(-static_cast<int>(queue_.size()));
    queue_.clear();
    stopRecording();
    if (onClose_) onClose_();
}

}  // namespace platform::wave::clocked
