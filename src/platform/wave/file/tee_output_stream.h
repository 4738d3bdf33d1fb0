#pragma once
// TeeOutputStream: an output stream of another driver that also writes what
// it plays into a TeeWavFile. The data of each buffer is copied at submit; it
// goes into the file once the device has given the buffer back as played
// (buffers handed back by a reset were not played and are left out). All file
// writing happens on the calling (UI) thread, at the next call of the stream;
// a device thread only marks buffers as played.
#include "platform/wave/driver.h"
#include "platform/wave/file/tee_wav_file.h"

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace platform::wave::file {

class TeeOutputStream final : public Stream, public BufferSink {
public:
    TeeOutputStream(TeeWavFile& file, const WAVEFORMATEX& format, BufferSink& sink);
    ~TeeOutputStream() override;

    // Opens the wrapped driver's output device with this stream as its sink.
    MMRESULT openInner(Driver& driver, UINT device);

    MMRESULT prepare(WAVEHDR& header) override;
    MMRESULT unprepare(WAVEHDR& header) override;
    MMRESULT submit(WAVEHDR& header) override;
    MMRESULT start() override;
    MMRESULT pause() override;
    void reset() override;
    void close() override;

    void done(WAVEHDR& header, DWORD bytesRecorded) override;

private:
    enum class Fate { Queued, Played, Dropped };
    struct Entry {
        WAVEHDR* header = nullptr;
        std::vector<char> data;
        Fate fate = Fate::Queued;
    };

    // Writes the leading buffers whose fate is known, in order.
    void flush();

    TeeWavFile& file_;
    WAVEFORMATEX format_;
    BufferSink& sink_;
    std::unique_ptr<Stream> inner_;
    bool closed_ = false;
    std::atomic<bool> resetting_{false};
    std::mutex lock_;
    std::deque<Entry> entries_;
    std::vector<std::vector<char>> spare_;  // buffers' copies for reuse
};

}  // namespace platform::wave::file
