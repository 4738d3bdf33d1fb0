#pragma once
// OpenDevice: the wave API's record of one open device. It holds the backend's
// stream, the headers the device holds (in the order they were handed over),
// and, as the backend's BufferSink, marks finished headers and posts their
// notifications. Used by wave_api.cpp only.
#include "platform/wave/driver.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

namespace platform::wave {

class OpenDevice final : public BufferSink {
public:
    OpenDevice(Direction direction, std::uint32_t handle, HWND callback, std::shared_ptr<Driver> driver);
    ~OpenDevice();
    OpenDevice(const OpenDevice&) = delete;
    OpenDevice& operator=(const OpenDevice&) = delete;

    Direction direction() const { return direction_; }
    std::uint32_t handle() const { return handle_; }
    Stream& stream() { return *stream_; }
    std::unique_ptr<Stream>& streamSlot() { return stream_; }

    // Thread-safe; called by the backend.
    void done(WAVEHDR& header, DWORD bytesRecorded) override;

    bool holds(const WAVEHDR* header);
    bool holdsAny();
    // Marks the header as held and hands it to the backend; undone on refusal.
    MMRESULT submit(WAVEHDR& header);

    // Posts MM_*_OPEN or MM_*_CLOSE to the callback window (if any).
    void notifyOpen() const;
    void notifyClose() const;

private:
    void post(UINT msg, LPARAM lParam) const;

    const Direction direction_;
    const std::uint32_t handle_;
    const HWND callback_;
    std::shared_ptr<Driver> driver_;  // keeps the backend alive while the device is open
    std::unique_ptr<Stream> stream_;
    std::mutex lock_;
    std::deque<WAVEHDR*> held_;
};

}  // namespace platform::wave
