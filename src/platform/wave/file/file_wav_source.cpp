#include "platform/wave/file/file_wav_source.h"

#include "platform/files/regular_file.h"
#include "platform/wave/device_status.h"

#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform::wave::file {
namespace {

constexpr std::int64_t kChunkFrames = 4096;

SNDFILE* sf(void* p) { return static_cast<SNDFILE*>(p); }

void store(const WAVEFORMATEX& format, char* frame, int channel, double value) {
    if (format.wBitsPerSample == 8) {
        const long u = std::clamp(std::lrint(value * 128.0) + 128, 0L, 255L);
        frame[channel] = static_cast<char>(static_cast<unsigned char>(u));
        return;
    }
    const long s = std::clamp(std::lrint(value * 32768.0), -32768L, 32767L);
    const auto v = static_cast<std::uint16_t>(static_cast<std::int16_t>(s));
    frame[2 * channel] = static_cast<char>(v & 0xFF);
    frame[2 * channel + 1] = static_cast<char>(v >> 8);
}

void storeFrame(const WAVEFORMATEX& format, char* frame, double left, double right) {
    for (int c = 0; c < format.nChannels; ++c) store(format, frame, c, c == 0 ? left : c == 1 ? right : 0.0);
}

// How much of a RIFF file is missing: empty when its header's length (when
// it gives one) fits the file.
std::string cutShort(int fd, std::int64_t size) {
    unsigned char head[8];
    if (::pread(fd, head, sizeof head, 0) != static_cast<ssize_t>(sizeof head) || std::memcmp(head, "RIFF", 4) != 0)
        return {};
    const std::uint32_t riff = head[4] | (head[5] << 8) | (head[6] << 16) | (static_cast<std::uint32_t>(head[7]) << 24);
    // 0 and 0xFFFFFFFF: a recorder that streamed the file did not know its length.
    if (riff == 0 || riff == 0xFFFFFFFFu) return {};
    const std::int64_t promised = static_cast<std::int64_t>(riff) + 8;
    if (promised <= size + 1) return {};  // + 1: a missing pad byte at the very end
    return "its header gives " + std::to_string(promised) + " bytes, it holds " + std::to_string(size);
}

}  // namespace

std::unique_ptr<FileWavSource> FileWavSource::open(const std::string& path, bool loop, std::string& error) {
    const std::string cannotRead = "Cannot read the input WAV file '" + path + "': ";
    const files::OpenedFile opened = files::openRegularFile(path);
    if (opened.fd < 0) {
        error = cannotRead + files::openProblem(opened);
        return nullptr;
    }
    SF_INFO info{};
    SNDFILE* file = sf_open_fd(opened.fd, SFM_READ, &info, SF_FALSE);
    if (file == nullptr) {
        error = cannotRead + sf_strerror(nullptr);
        ::close(opened.fd);
        return nullptr;
    }
    std::unique_ptr<FileWavSource> source(
        new FileWavSource(file, opened.fd, path, loop, info.frames, info.samplerate, info.channels));
    if (info.frames <= 0 || info.channels <= 0) {
        error = "The input WAV file '" + path + "' holds no audio";
        return nullptr;
    }
    if (info.samplerate < kLowestFileRate || info.samplerate > kHighestFileRate) {
        error = "The input WAV file '" + path + "' gives a sample rate of " + std::to_string(info.samplerate) +
                " Hz; files of " + std::to_string(kLowestFileRate) + " to " + std::to_string(kHighestFileRate) +
                " Hz are read";
        return nullptr;
    }
    // A file of numbers that are not samples is refused at once. Only
    // floating-point samples can be such numbers, wherever they are.
    const int samples = info.format & SF_FORMAT_SUBMASK;
    const bool floating = samples == SF_FORMAT_FLOAT || samples == SF_FORMAT_DOUBLE;
    if (const std::string problem = floating ? source->checkEveryFrame(samples == SF_FORMAT_DOUBLE) : source->read(0);
        !problem.empty()) {
        error = problem;
        return nullptr;
    }
    if (const std::string missing = cutShort(opened.fd, opened.size); !missing.empty())
        noteDeviceError(Direction::Input, "The input WAV file '" + path + "' is cut short (" + missing +
                                              "): it is read as far as it goes");
    return source;
}

FileWavSource::FileWavSource(void* file, int fd, std::string path, bool loop, std::int64_t frames, int rate,
                             int channels)
    : file_(file), fd_(fd), path_(std::move(path)), loop_(loop), frames_(frames), rate_(rate),
      channels_(channels) {
    chunk_.resize(static_cast<std::size_t>(kChunkFrames * std::max(channels_, 1)));
}

FileWavSource::~FileWavSource() {
    sf_close(sf(file_));
    ::close(fd_);
}

std::string FileWavSource::read(std::int64_t first) {
    if (sf_seek(sf(file_), first, SEEK_SET) < 0)
        return "Cannot seek in the input WAV file '" + path_ + "': " + sf_strerror(sf(file_));
    const sf_count_t want = std::min(kChunkFrames, frames_ - first);
    const sf_count_t got = sf_readf_double(sf(file_), chunk_.data(), want);
    if (got <= 0) return "Cannot read the input WAV file '" + path_ + "': " + sf_strerror(sf(file_));
    const auto end = chunk_.begin() + static_cast<std::ptrdiff_t>(got * channels_);
    const auto bad = std::find_if(chunk_.begin(), end, [](double v) { return !std::isfinite(v); });
    if (bad != end) return nonNumberText(first + (bad - chunk_.begin()) / channels_);
    chunkFirst_ = first;
    chunkFrames_ = got;
    return {};
}

std::string FileWavSource::nonNumberText(std::int64_t frame) const {
    return "The input WAV file '" + path_ + "' holds a sample that is not a number (NaN or infinity) at frame " +
           std::to_string(frame);
}

std::string FileWavSource::checkEveryFrame(bool doubles) {
    // Read as the file holds them, straight through, in large pieces.
    const auto scan = [this](auto readFrames, auto sample) -> std::string {
        constexpr sf_count_t kScanFrames = 65536;
        std::vector<decltype(sample)> samples(static_cast<std::size_t>(kScanFrames * channels_));
        if (sf_seek(sf(file_), 0, SEEK_SET) != 0) return {};
        for (std::int64_t first = 0; first < frames_;) {
            const sf_count_t got = readFrames(sf(file_), samples.data(), kScanFrames);
            // A file cut short is read as far as it goes (and said so when it is).
            if (got <= 0) break;
            const auto end = samples.begin() + static_cast<std::ptrdiff_t>(got * channels_);
            const auto bad = std::find_if(samples.begin(), end, [](auto v) { return !std::isfinite(v); });
            if (bad != end) return nonNumberText(first + (bad - samples.begin()) / channels_);
            first += got;
        }
        return {};
    };
    const std::string problem = doubles ? scan(sf_readf_double, 0.0) : scan(sf_readf_float, 0.0f);
    return problem.empty() ? read(0) : problem;
}

bool FileWavSource::load(std::int64_t first) {
    if (failed_) return false;
    if (const std::string problem = read(first); !problem.empty()) {
        fail(problem);
        return false;
    }
    return true;
}

void FileWavSource::fail(const std::string& problem) {
    failed_ = true;
    chunkFrames_ = 0;
    noteDeviceError(Direction::Input, problem);
}

void FileWavSource::frameAt(std::int64_t i, double& left, double& right) {
    left = right = 0;
    if (loop_) i %= frames_;
    if (i < 0 || i >= frames_) return;
    // The window starts one frame early, so that a reader going back by one
    // frame never thrashes at its edges.
    if ((i < chunkFirst_ || i >= chunkFirst_ + chunkFrames_) && !load(std::max<std::int64_t>(i - 1, 0))) return;
    const double* f = chunk_.data() + (i - chunkFirst_) * channels_;
    left = f[0];
    right = channels_ > 1 ? f[1] : f[0];
}

void FileWavSource::started(const WAVEFORMATEX& /*format*/, Nanoseconds /*origin*/) { converter_.reset(); }

void FileWavSource::fill(const WAVEFORMATEX& format, Nanoseconds /*origin*/, std::int64_t firstFrame, char* data,
                         std::size_t frames) {
    if (static_cast<int>(format.nSamplesPerSec) != rate_) {
        fillConverted(format, firstFrame, data, frames);
        return;
    }
    for (std::size_t n = 0; n < frames; ++n) {
        double left, right;
        frameAt(firstFrame + static_cast<std::int64_t>(n), left, right);
        storeFrame(format, data + n * format.nBlockAlign, left, right);
    }
}

void FileWavSource::fillConverted(const WAVEFORMATEX& format, std::int64_t firstFrame, char* data,
                                  std::size_t frames) {
    const int to = static_cast<int>(format.nSamplesPerSec);
    // A new recording, or one that went back: convert from frame 0 of the file again.
    if (!converter_ || converter_->outputRate() != to || firstFrame < convertedOut_) {
        std::string problem;
        converter_ = RateConverter::create(
            rate_, to,
            [this](float* in, std::size_t count) {
                for (std::size_t j = 0; j < count; ++j) {
                    double left, right;
                    frameAt(convertedIn_ + static_cast<std::int64_t>(j), left, right);
                    in[2 * j] = static_cast<float>(left);
                    in[2 * j + 1] = static_cast<float>(right);
                }
                convertedIn_ += static_cast<std::int64_t>(count);
            },
            problem);
        convertedIn_ = 0;
        convertedOut_ = 0;
        if (!converter_) {
            if (!failed_) fail("Cannot convert the input WAV file '" + path_ + "': " + problem);
            std::memset(data, format.wBitsPerSample == 8 ? 0x80 : 0, frames * format.nBlockAlign);
            return;
        }
    }
    // Frames that passed while no buffer was queued are converted and dropped,
    // so that the recording keeps its time.
    const std::int64_t end = firstFrame + static_cast<std::int64_t>(frames);
    std::string problem;
    while (convertedOut_ < end) {
        const bool dropped = convertedOut_ < firstFrame;
        const auto count =
            static_cast<std::size_t>(std::min((dropped ? firstFrame : end) - convertedOut_, kChunkFrames));
        converted_.resize(count * 2);
        if (!converter_->read(converted_.data(), count, problem)) {
            if (!failed_) fail("Cannot convert the input WAV file '" + path_ + "': " + problem);
            std::fill(converted_.begin(), converted_.end(), 0.0f);
        }
        if (!dropped) {
            const auto at = static_cast<std::size_t>(convertedOut_ - firstFrame);
            for (std::size_t n = 0; n < count; ++n)
                storeFrame(format, data + (at + n) * format.nBlockAlign, converted_[2 * n], converted_[2 * n + 1]);
        }
        convertedOut_ += static_cast<std::int64_t>(count);
    }
}

}  // namespace platform::wave::file
