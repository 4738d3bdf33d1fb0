#pragma once
// TeeWavFile: the WAV file that keeps what the player plays (--output-wav).
// The file is created at the first frames of the first output stream and
// finalised whenever a stream closes; a later stream of the same format is
// appended, one of another format is left out (with a device error saying so).
// A write failure is reported once as a device error; later frames are dropped.
#include "platform/wave/file/file_wav_writer.h"

#include <cstdint>
#include <memory>
#include <string>

namespace platform::wave::file {

class TeeWavFile {
public:
    explicit TeeWavFile(std::string path);

    const std::string& path() const { return path_; }

    void write(const WAVEFORMATEX& format, const char* data, std::int64_t frames);
    // The stream that wrote ends: finalise the file.
    void streamClosed();

    // Frames written so far (all streams).
    std::int64_t framesWritten() const { return written_; }

private:
    std::string path_;
    std::unique_ptr<FileWavWriter> writer_;
    bool created_ = false;
    bool failed_ = false;
    bool skipping_ = false;  // the current stream has another format
    WAVEFORMATEX format_{};
    std::int64_t written_ = 0;
};

}  // namespace platform::wave::file
