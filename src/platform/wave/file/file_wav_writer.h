#pragma once
// FileWavWriter: writes PCM frames into a 16-bit PCM WAV file (libsndfile).
// The header is kept up to date as frames are written, so the file is valid
// even if the program ends without closing it; closing finalises it.
#include "platform/wave/wave_types.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::wave::file {

class FileWavWriter {
public:
    // Creates (or replaces) `path` for `channels` channels at `rate`; with
    // `append`, an existing file of that rate and channel count is continued.
    // Only a regular file is written (one that does not exist is created).
    // Null with the reason in `error` when that is not possible.
    static std::unique_ptr<FileWavWriter> open(const std::string& path, DWORD rate, WORD channels, bool append,
                                               std::string& error);
    ~FileWavWriter();
    FileWavWriter(const FileWavWriter&) = delete;
    FileWavWriter& operator=(const FileWavWriter&) = delete;

    // Writes `frames` frames of `format` (8- or 16-bit, the file's channel
    // count); 8-bit samples become 16-bit. False with the reason in `error`.
    bool write(const WAVEFORMATEX& format, const char* data, std::int64_t frames, std::string& error);

private:
    FileWavWriter(void* file, int fd, std::string path);

    void* file_;  // SNDFILE
    int fd_;
    std::string path_;
    std::vector<short> scratch_;
};

}  // namespace platform::wave::file
