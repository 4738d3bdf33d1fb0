#include "platform/wave/clocked/clocked_output_stream.h"

#include "platform/wave/clocked/frame_timing.h"

#include <algorithm>

namespace platform::wave::clocked {

ClockedOutputStream::ClockedOutputStream(VirtualClock& clock, const WAVEFORMATEX& format, BufferSink& sink,
                                         PlaybackObserver* observer, std::function<void()> onClose)
    : clock_(clock), format_(format), sink_(sink), observer_(observer), onClose_(std::move(onClose)) {}

ClockedOutputStream::~ClockedOutputStream() { release(); }

MMRESULT ClockedOutputStream::submit(WAVEHDR& header) {
    queue_.push_back({&header, header.lpData, header.dwBufferLength / format_.nBlockAlign});
    heldChanged(1);
    if (running_ && queue_.size() == 1) beginHead(false);
    return MMSYSERR_NOERROR;
}

MMRESULT ClockedOutputStream::start() {
    if (running_) return MMSYSERR_NOERROR;
    running_ = true;
    if (!queue_.empty()) beginHead(false);
    return MMSYSERR_NOERROR;
}

MMRESULT ClockedOutputStream::pause() {
    if (!running_) return MMSYSERR_NOERROR;
    running_ = false;
    if (!queue_.empty()) {
        clock_.cancel(timer_);
        timer_ = 0;
        queue_.front().played += headProgress();
        halt();
    }
    return MMSYSERR_NOERROR;
}

void ClockedOutputStream::reset() {
    clock_.cancel(timer_);
    timer_ = 0;
    if (!queue_.empty()) {
        // The head is cut short where it is.
        Pending& head = queue_.front();
        if (running_) {
            head.played += headProgress();
            halt();
        }
        if (head.played > 0) played(head.data, head.played, head.firstSound, false);
    }
    while (!queue_.empty()) {
        const Pending p = queue_.front();
        queue_.pop_front();
        heldChanged(-1);
        sink_.done(*p.header, 0);
    }
}

void ClockedOutputStream::close() { release(); }

void ClockedOutputStream::beginHead(bool continuous) {
    if (!continuous) {
        origin_ = clock_.now();
        runFrames_ = 0;
    }
    Pending& head = queue_.front();
    if (head.firstSound < 0) head.firstSound = clock_.now();
    const std::int64_t rest = head.frames - head.played;
    if (observer_ != nullptr && rest > 0)
        observer_->playing(format_, origin_, runFrames_, head.data + head.played * format_.nBlockAlign, rest);
    timer_ = clock_.schedule(origin_ + frameTime(runFrames_ + rest, format_.nSamplesPerSec),
                             [this] { finishHead(); });
}

std::int64_t ClockedOutputStream::headProgress() const {
    const std::int64_t done = framesAt(clock_.now() - origin_, format_.nSamplesPerSec) - runFrames_;
    const Pending& head = queue_.front();
    return std::clamp<std::int64_t>(done, 0, head.frames - head.played);
}

void ClockedOutputStream::finishHead() {
    timer_ = 0;
    const Pending head = queue_.front();
    queue_.pop_front();
    heldChanged(-1);
    runFrames_ += head.frames - head.played;
    played(head.data, head.frames, head.firstSound, true);
    sink_.done(*head.header, 0);
    if (!queue_.empty() && running_) beginHead(true);
}

void ClockedOutputStream::halt() {
    if (observer_ != nullptr) observer_->halted(clock_.now());
}

void ClockedOutputStream::release() {
    if (released_) return;
    released_ = true;
    clock_.cancel(timer_);
    timer_ = 0;
    if (running_ && !queue_.empty()) halt();
    heldChanged(-static_cast<int>(queue_.size()));
    queue_.clear();
    if (onClose_) onClose_();
}

}  // namespace platform::wave::clocked
