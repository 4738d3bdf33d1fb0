#pragma once
// FileWavSource: a sound file (WAV, or anything else libsndfile reads, at any
// rate, channel count and sample format) as the line input. Each recording
// starts at frame 0 of the file; the file's frames are converted to the
// recorder's format: the rate by linear interpolation, one channel to both,
// more than two to the first two, the samples to 8 or 16 bits. After the end
// of the file comes silence, or the file again when looping.
#include "platform/wave/sim/clocked_input_stream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::wave::file {

class FileWavSource final : public sim::ClockedSource {
public:
    // Opens `path`; null with the reason in `error` when it cannot be read.
    static std::unique_ptr<FileWavSource> open(const std::string& path, bool loop, std::string& error);
    ~FileWavSource() override;

    void fill(const WAVEFORMATEX& format, Nanoseconds origin, std::int64_t firstFrame, char* data,
              std::size_t frames) override;

    std::int64_t frames() const { return frames_; }
    int rate() const { return rate_; }
    int channels() const { return channels_; }

private:
    FileWavSource(void* file, std::string path, bool loop, std::int64_t frames, int rate, int channels);
    // The file's (up to) first two channels at frame i, 0 past the end (or
    // wrapped when looping); full scale is +-1.
    void frameAt(std::int64_t i, double& left, double& right);
    bool load(std::int64_t first);

    void* file_;  // SNDFILE
    std::string path_;
    bool loop_;
    std::int64_t frames_;
    int rate_;
    int channels_;
    bool failed_ = false;
    // A window of the file: frames chunkFirst_ .. chunkFirst_ + chunkFrames_ - 1,
    // all channels interleaved.
    std::vector<double> chunk_;
    std::int64_t chunkFirst_ = 0;
    std::int64_t chunkFrames_ = 0;
};

}  // namespace platform::wave::file
