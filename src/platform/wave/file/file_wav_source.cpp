#include "platform/wave/file/file_wav_source.h"

#include "platform/wave/device_status.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>

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

}  // namespace

std::unique_ptr<FileWavSource> FileWavSource::open(const std::string& path, bool loop, std::string& error) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        error = "Cannot read the input WAV file '" + path + "': " + sf_strerror(nullptr);
        return nullptr;
    }
    if (info.frames <= 0 || info.channels <= 0 || info.samplerate <= 0) {
        sf_close(file);
        error = "The input WAV file '" + path + "' holds no audio";
        return nullptr;
    }
    return std::unique_ptr<FileWavSource>(
        new FileWavSource(file, path, loop, info.frames, info.samplerate, info.channels));
}

FileWavSource::FileWavSource(void* file, std::string path, bool loop, std::int64_t frames, int rate, int channels)
    : file_(file), path_(std::move(path)), loop_(loop), frames_(frames), rate_(rate), channels_(channels) {
    chunk_.resize(static_cast<std::size_t>(kChunkFrames * channels_));
}

FileWavSource::~FileWavSource() { sf_close(sf(file_)); }

bool FileWavSource::load(std::int64_t first) {
    if (failed_) return false;
    if (sf_seek(sf(file_), first, SEEK_SET) < 0) {
        failed_ = true;
        noteDeviceError(Direction::Input,
                        "Cannot seek in the input WAV file '" + path_ + "': " + sf_strerror(sf(file_)));
        return false;
    }
    const sf_count_t want = std::min(kChunkFrames, frames_ - first);
    const sf_count_t got = sf_readf_double(sf(file_), chunk_.data(), want);
    if (got <= 0) {
        failed_ = true;
        noteDeviceError(Direction::Input,
                        "Cannot read the input WAV file '" + path_ + "': " + sf_strerror(sf(file_)));
        return false;
    }
    chunkFirst_ = first;
    chunkFrames_ = got;
    return true;
}

void FileWavSource::frameAt(std::int64_t i, double& left, double& right) {
    left = right = 0;
    if (loop_) i %= frames_;
    if (i < 0 || i >= frames_) return;
    // The window starts one frame early, so that interpolating between i and
    // i + 1 never thrashes at its edges.
    if ((i < chunkFirst_ || i >= chunkFirst_ + chunkFrames_) && !load(std::max<std::int64_t>(i - 1, 0))) return;
    const double* f = chunk_.data() + (i - chunkFirst_) * channels_;
    left = f[0];
    right = channels_ > 1 ? f[1] : f[0];
}

void FileWavSource::fill(const WAVEFORMATEX& format, Nanoseconds /*origin*/, std::int64_t firstFrame, char* data,
                         std::size_t frames) {
    const std::int64_t to = format.nSamplesPerSec;
    for (std::size_t n = 0; n < frames; ++n) {
        // Frame k of the recording lies at k * rate / to in the file.
        const std::int64_t k = firstFrame + static_cast<std::int64_t>(n);
        const std::int64_t scaled = k * rate_;
        const std::int64_t i = scaled / to;
        const double frac = static_cast<double>(scaled % to) / static_cast<double>(to);
        double l0, r0;
        frameAt(i, l0, r0);
        double left = l0, right = r0;
        if (frac != 0) {
            double l1, r1;
            frameAt(i + 1, l1, r1);
            left += (l1 - l0) * frac;
            right += (r1 - r0) * frac;
        }
        char* frame = data + n * format.nBlockAlign;
        for (int c = 0; c < format.nChannels; ++c) store(format, frame, c, c == 0 ? left : c == 1 ? right : 0.0);
    }
}

}  // namespace platform::wave::file
