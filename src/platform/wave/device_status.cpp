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
    std::array<std::optional<DeviceOutage>, 2> outages;
    std::array<std::chrono::steady_clock::time_point, 2> missingFrom{};
    std::array<std::optional<DeviceReturn>, 2> returns;
    std::uint64_t reconnects = 0;
    std::chrono::steady_clock::duration missing{};
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
        const bool again = s.errors[index(direction)] == text;  // a retry that failed the same way
        s.errors[index(direction)] = std::string(text);
        s.lastError = std::string(text);
        if (again) return;
    }
    std::fprintf(stderr, "audio: %.*s\n", static_cast<int>(text.size()), text.data());
}

void clearDeviceStatus() {
    auto& s = status();
    for (auto& x : s.xruns) x = 0;
    std::lock_guard guard(s.lock);
    for (auto& e : s.errors) e.clear();
    s.lastError.clear();
    for (auto& o : s.outages) o.reset();
    for (auto& r : s.returns) r.reset();
    s.reconnects = 0;
    s.missing = {};
}

void noteDeviceMissing(Direction direction, std::string_view device, std::string_view reason) {
    auto& s = status();
    const bool input = direction == Direction::Input;
    {
        std::lock_guard guard(s.lock);
        auto& o = s.outages[index(direction)];
        if (o) return;  // already missing: said once
        o = DeviceOutage{std::string(device), std::chrono::system_clock::now()};
        s.missingFrom[index(direction)] = std::chrono::steady_clock::now();
    }
    std::fprintf(stderr, "audio: the ALSA %s device '%.*s' is gone (%.*s); trying to reopen it\n",
                 input ? "capture" : "playback", static_cast<int>(device.size()), device.data(),
                 static_cast<int>(reason.size()), reason.data());
}

void noteDeviceBack(Direction direction, std::string_view device) {
    auto& s = status();
    const bool input = direction == Direction::Input;
    double seconds = 0;
    {
        std::lock_guard guard(s.lock);
        auto& o = s.outages[index(direction)];
        if (!o) return;
        const auto gone = std::chrono::steady_clock::now() - s.missingFrom[index(direction)];
        s.missing += gone;
        seconds = std::chrono::duration<double>(gone).count();
        o.reset();
        s.returns[index(direction)] = DeviceReturn{std::string(device), std::chrono::system_clock::now()};
        ++s.reconnects;
    }
    std::fprintf(stderr, "audio: the ALSA %s device '%.*s' is back after %.1f s\n", input ? "capture" : "playback",
                 static_cast<int>(device.size()), device.data(), seconds);
}

void noteDeviceClosed(Direction direction) {
    auto& s = status();
    std::lock_guard guard(s.lock);
    auto& o = s.outages[index(direction)];
    if (!o) return;
    s.missing += std::chrono::steady_clock::now() - s.missingFrom[index(direction)];
    o.reset();
}

std::optional<DeviceOutage> deviceOutage(Direction direction) {
    auto& s = status();
    std::lock_guard guard(s.lock);
    return s.outages[index(direction)];
}

std::optional<DeviceReturn> lastDeviceReturn(Direction direction) {
    auto& s = status();
    std::lock_guard guard(s.lock);
    return s.returns[index(direction)];
}

std::uint64_t reconnectCount() {
    auto& s = status();
    std::lock_guard guard(s.lock);
    return s.reconnects;
}

double missingSeconds() {
    auto& s = status();
    std::lock_guard guard(s.lock);
    auto total = s.missing;
    const auto now = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < 2; ++i)
        if (s.outages[i]) total += now - s.missingFrom[i];
    return std::chrono::duration<double>(total).count();
}

std::string describeFormat(const WAVEFORMATEX& format) {
    return std::to_string(format.nSamplesPerSec) + " Hz, " + std::to_string(format.nChannels) +
           (format.nChannels == 1 ? " channel, " : " channels, ") + std::to_string(format.wBitsPerSample) +
           "-bit";
}

}  // namespace platform::wave
