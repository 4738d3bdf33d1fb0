#pragma once
// Buffers and their headers for tests that drive the wave API directly.
#include "platform/wave/wave_types.h"

#include <cstddef>
#include <vector>

namespace realaudio_test {

struct WaveBuffers {
    WaveBuffers(int count, std::size_t bytes)
        : data(static_cast<std::size_t>(count), std::vector<char>(bytes)), headers(static_cast<std::size_t>(count)) {
        for (std::size_t i = 0; i < headers.size(); ++i) {
            headers[i].lpData = data[i].data();
            headers[i].dwBufferLength = static_cast<platform::win::DWORD>(bytes);
        }
    }
    std::vector<std::vector<char>> data;
    std::vector<platform::wave::WAVEHDR> headers;
};

}  // namespace realaudio_test
