#include "platform/wave/file/tee_wav_file.h"

#include "platform/wave/device_status.h"

namespace platform::wave::file {

TeeWavFile::TeeWavFile(std::string path) : path_(std::move(path)) {}

void TeeWavFile::write(const WAVEFORMATEX& format, const char* data, std::int64_t frames) {
    if (failed_ || skipping_ || frames <= 0) return;
    if (!writer_) {
        if (created_ && (format.nSamplesPerSec != format_.nSamplesPerSec || format.nChannels != format_.nChannels)) {
            noteDeviceError(Direction::Output, "The output WAV file '" + path_ + "' keeps " + describeFormat(format_) +
                                                   "; a stream of " + describeFormat(format) + " is not written to it");
            skipping_ = true;
            return;
        }
        std::string error;
        writer_ = FileWavWriter::open(path_, format.nSamplesPerSec, format.nChannels, created_, error);
        if (!writer_) {
            failed_ = true;
            noteDeviceError(Direction::Output, error);
            return;
        }
        created_ = true;
        format_ = format;
    }
    std::string error;
    if (!writer_->write(format, data, frames, error)) {
        failed_ = true;
        writer_.reset();
        noteDeviceError(Direction::Output, error);
        return;
    }
    written_ += frames;
}

void TeeWavFile::streamClosed() {
    writer_.reset();
    skipping_ = false;
}

}  // namespace platform::wave::file
