#include "platform/wave/file/tee_output_stream.h"

#include <algorithm>

namespace platform::wave::file {

TeeOutputStream::TeeOutputStream(TeeWavFile& file, const WAVEFORMATEX& format, BufferSink& sink)
    : file_(file), format_(format), sink_(sink) {}

TeeOutputStream::~TeeOutputStream() { close(); }

MMRESULT TeeOutputStream::openInner(Driver& driver, UINT device) {
    return driver.open(Direction::Output, device, format_, *this, inner_);
}

MMRESULT TeeOutputStream::prepare(WAVEHDR& header) { return inner_->prepare(header); }

MMRESULT TeeOutputStream::unprepare(WAVEHDR& header) { return inner_->unprepare(header); }

MMRESULT TeeOutputStream::submit(WAVEHDR& header) {
    flush();
    Entry e;
    e.header = &header;
    {
        std::lock_guard guard(lock_);
        if (!spare_.empty()) {
            e.data = std::move(spare_.back());
            spare_.pop_back();
        }
    }
    const std::size_t bytes = header.dwBufferLength / format_.nBlockAlign * format_.nBlockAlign;
    e.data.assign(header.lpData, header.lpData + bytes);
    {
        std::lock_guard guard(lock_);
        entries_.push_back(std::move(e));
    }
    const MMRESULT r = inner_->submit(header);
    if (r != MMSYSERR_NOERROR) {
        std::lock_guard guard(lock_);
        for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
            if (it->header == &header && it->fate == Fate::Queued) {
                it->fate = Fate::Dropped;
                break;
            }
        }
    }
    return r;
}

MMRESULT TeeOutputStream::start() {
    flush();
    return inner_->start();
}

MMRESULT TeeOutputStream::pause() {
    flush();
    return inner_->pause();
}

void TeeOutputStream::reset() {
    resetting_ = true;
    inner_->reset();
    resetting_ = false;
    flush();
}

void TeeOutputStream::close() {
    if (closed_ || !inner_) return;
    closed_ = true;
    inner_->close();
    flush();
    file_.streamClosed();
}

void TeeOutputStream::done(WAVEHDR& header, DWORD bytesRecorded) {
    {
        std::lock_guard guard(lock_);
        const auto it = std::find_if(entries_.begin(), entries_.end(),
                                     [&](const Entry& e) { return e.header == &header && e.fate == Fate::Queued; });
        if (it != entries_.end()) {
            it->fate = resetting_ ? Fate::Dropped : Fate::Played;
            // Cut short by the reset after part of it was heard: that part was played.
            if (resetting_ && bytesRecorded > 0 && bytesRecorded < it->data.size()) {
                it->data.resize(bytesRecorded / format_.nBlockAlign * format_.nBlockAlign);
                it->fate = Fate::Played;
            }
        }
    }
    sink_.done(header, bytesRecorded);
}

void TeeOutputStream::flush() {
    for (;;) {
        Entry e;
        {
            std::lock_guard guard(lock_);
            if (entries_.empty() || entries_.front().fate == Fate::Queued) return;
            e = std::move(entries_.front());
            entries_.pop_front();
        }
        if (e.fate == Fate::Played)
            file_.write(format_, e.data.data(), static_cast<std::int64_t>(e.data.size() / format_.nBlockAlign));
        std::lock_guard guard(lock_);
        spare_.push_back(std::move(e.data));
    }
}

}  // namespace platform::wave::file
