#include "platform/wave/file/file_wav_writer.h"

#include "platform/files/regular_file.h"

#include <sndfile.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform::wave::file {

std::unique_ptr<FileWavWriter> FileWavWriter::open(const std::string& path, DWORD rate, WORD channels, bool append,
                                                   std::string& error) {
    const std::string cannotWrite = "Cannot write the output WAV file '" + path + "': ";
    // A regular file only: a FIFO or a device (/dev/full) is refused, never waited for.
    const files::OpenedFile opened = files::openRegularFile(path, true);
    if (opened.fd < 0) {
        error = cannotWrite + files::openProblem(opened);
        return nullptr;
    }
    SF_INFO info{};
    SNDFILE* file = nullptr;
    if (append && opened.size > 0) {
        file = sf_open_fd(opened.fd, SFM_RDWR, &info, SF_FALSE);
        if (file != nullptr && (info.samplerate != static_cast<int>(rate) || info.channels != channels ||
                                (info.format & SF_FORMAT_SUBMASK) != SF_FORMAT_PCM_16)) {
            sf_close(file);
            ::close(opened.fd);
            error = "Cannot continue the output WAV file '" + path + "': it holds another format";
            return nullptr;
        }
        if (file != nullptr && sf_seek(file, 0, SEEK_END) < 0) {
            error = "Cannot continue the output WAV file '" + path + "': " + sf_strerror(file);
            sf_close(file);
            ::close(opened.fd);
            return nullptr;
        }
    }
    if (file == nullptr) {
        if (::ftruncate(opened.fd, 0) != 0 || ::lseek(opened.fd, 0, SEEK_SET) != 0) {
            error = cannotWrite + std::strerror(errno);
            ::close(opened.fd);
            return nullptr;
        }
        info = SF_INFO{};
        info.samplerate = static_cast<int>(rate);
        info.channels = channels;
        info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        file = sf_open_fd(opened.fd, SFM_WRITE, &info, SF_FALSE);
    }
    if (file == nullptr) {
        error = cannotWrite + sf_strerror(nullptr);
        ::close(opened.fd);
        return nullptr;
    }
    sf_command(file, SFC_SET_UPDATE_HEADER_AUTO, nullptr, SF_TRUE);
    return std::unique_ptr<FileWavWriter>(new FileWavWriter(file, opened.fd, path));
}

FileWavWriter::FileWavWriter(void* file, int fd, std::string path) : file_(file), fd_(fd), path_(std::move(path)) {}

FileWavWriter::~FileWavWriter() {
    sf_close(static_cast<SNDFILE*>(file_));
    ::close(fd_);
}

bool FileWavWriter::write(const WAVEFORMATEX& format, const char* data, std::int64_t frames, std::string& error) {
    if (frames <= 0) return true;
    const auto samples = static_cast<std::size_t>(frames) * format.nChannels;
    scratch_.resize(samples);
    for (std::size_t i = 0; i < samples; ++i) {
        if (format.wBitsPerSample == 8) {
            scratch_[i] = static_cast<short>((static_cast<unsigned char>(data[i]) - 128) * 256);
        } else {
            const auto lo = static_cast<unsigned char>(data[2 * i]);
            const auto hi = static_cast<unsigned char>(data[2 * i + 1]);
            scratch_[i] = static_cast<short>(static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8))));
        }
    }
    auto* file = static_cast<SNDFILE*>(file_);
    if (sf_writef_short(file, scratch_.data(), frames) != frames) {
        error = "Cannot write the output WAV file '" + path_ + "': " + sf_strerror(file);
        return false;
    }
    return true;
}

}  // namespace platform::wave::file
