#pragma once
// FileWavSource: a sound file (WAV, or anything else libsndfile reads, at any
// plausible rate, channel count and sample format) as the line input. Each
// recording starts at frame 0 of the file; the file's frames are converted to
// the recorder's format: another rate by a band-limited resampler
// (rate_converter.h), one channel to both, more than two to the first two, the
// samples to 8 or 16 bits. After the end of the file comes silence, or the
// file again when looping.
//
// Only a regular file is opened (a FIFO is refused, never waited for). A
// sample that is not a number (NaN, infinity) is an error, never full scale:
// a file of floating-point samples is looked at whole when it is opened, and
// one such sample anywhere refuses it (should the file change while it is
// read, one found later is reported as a device error and the rest is
// silence). A file cut short (its RIFF header
// gives more bytes than it holds) is read as far as it goes and reported.
#include "platform/wave/file/rate_converter.h"
#include "platform/wave/clocked/clocked_input_stream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::wave::file {

// The sample rates a file may have, in Hz; others are refused.
inline constexpr int kLowestFileRate = 1000;
inline constexpr int kHighestFileRate = 768000;

class FileWavSource final : public clocked::ClockedSource {
public:
    // Opens `path`; null with the reason in `error` when it cannot be read.
    static std::unique_ptr<FileWavSource> open(const std::string& path, bool loop, std::string& error);
    ~FileWavSource() override;

    void started(const WAVEFORMATEX& format, Nanoseconds origin) override;
    void fill(const WAVEFORMATEX& format, Nanoseconds origin, std::int64_t firstFrame, char* data,
              std::size_t frames) override;

    std::int64_t frames() const { return frames_; }
    int rate() const { return rate_; }
    int channels() const { return channels_; }

private:
    FileWavSource(void* file, int fd, std::string path, bool loop, std::int64_t frames, int rate, int channels);
    // The file's (up to) first two channels at frame i, 0 past the end (or
    // wrapped when looping); full scale is +-1.
    void frameAt(std::int64_t i, double& left, double& right);
    // Reads the window from frame `first`; the reason when that fails.
    std::string read(std::int64_t first);
    std::string nonNumberText(std::int64_t frame) const;
    // Reads the whole file (of floats, or of doubles) for a sample that is
    // not a number, then the first window; the reason when there is one.
    std::string checkEveryFrame(bool doubles);
    bool load(std::int64_t first);
    // The recorder's frames at another rate than the file's.
    void fillConverted(const WAVEFORMATEX& format, std::int64_t firstFrame, char* data, std::size_t frames);
    void fail(const std::string& problem);

    void* file_;  // SNDFILE
    int fd_;
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
    // The conversion of this recording: the file's next frame to convert, the
    // recorder's next frame to come out.
    std::unique_ptr<RateConverter> converter_;
    std::int64_t convertedIn_ = 0;
    std::int64_t convertedOut_ = 0;
    std::vector<float> converted_;
};

}  // namespace platform::wave::file
