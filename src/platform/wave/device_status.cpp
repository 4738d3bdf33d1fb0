#include "platform/wave/device_status.h"

#include <array>
#include <atomic>
#include <cstdio>
#include <mutex>

namespace platform::wave {
namespace {

struct Status {
    std::array<std::atomic<std::uint64_t>, 2> xruns{};
    std::mutex lock;
    std::array<std::string, 2> errors;
    std::string lastError;
};

Status& status() {
    static Status s;
    return s;
}

std::size_t index(Direction d) { return d == Direction::Input ? 0 : 1; }

}  // namespace

std::uint64_t xrunCount(Direction direction) { return status().xruns[index(direction)].load(); }

std::string lastDeviceError(Direction direction) {
    auto& s = status();
    std::lock_guard guard(s.lock);
    return s.errors[index(direction)];
}

std::string lastDeviceError() {
    auto& s = status();
    std::lock_guard guard(s.lock);
    return s.lastError;
}

void noteXrun(Direction direction, std::string_view device) {
    const std::uint64_t n = ++status().xruns[index(direction)];
    const bool input = direction == Direction::Input;
    std::fprintf(stderr, "audio: %s %s on '%.*s' (%llu so far), recovered\n", input ? "capture" : "playback",
                 input ? "overrun" : "underrun", static_cast<int>(device.size()), device.data(),
                 static_cast<unsigned long long>(n));
}

void noteDeviceError(Direction direction, std::string_view text) {
    auto& s = status();
    {
        std::lock_guard guard(s.lock);
        s.errors[index(direction)] = std::string(text);
        s.lastError = std::string(text);
    }
    std::fprintf(stderr, "audio: %.*s\n", static_cast<int>(text.size()), text.data());
}

void clearDeviceStatus() {
    auto& s = status();
    for (auto& x : s.xruns) x = 0;
    std::lock_guard guard(s.lock);
    for (auto& e : s.errors) e.clear();
    s.lastError.clear();
}

std::string describeFormat(const WAVEFORMATEX& format) {
    return std::to_string(format.nSamplesPerSec) + " Hz, " + std::to_string(format.nChannels) +
           (format.nChannels == 1 ? " channel, " : " channels, ") + std::to_string(format.wBitsPerSample) +
           "-bit";
}

}  // namespace platform::wave
