#include "platform/wave/open_device.h"

#include "platform/win/message_window.h"

#include <algorithm>

namespace platform::wave {

OpenDevice::OpenDevice(Direction direction, std::uint32_t handle, HWND callback,
                       std::shared_ptr<Driver> driver)
    : direction_(direction), handle_(handle), callback_(callback), driver_(std::move(driver)) {}

// The stream goes before the driver that made it.
OpenDevice::~OpenDevice() { stream_.reset(); }

void OpenDevice::done(WAVEHDR& header, DWORD bytesRecorded) {
    std::lock_guard guard(lock_);
    const auto it = std::find(held_.begin(), held_.end(), &header);
    if (it == held_.end()) return;  // not ours: a backend fault; the header is left alone
    held_.erase(it);
    if (direction_ == Direction::Input) header.dwBytesRecorded = bytesRecorded;
    header.dwFlags = (header.dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
    // Posted under the lock so that notifications keep the order of done().
    post(direction_ == Direction::Input ? MM_WIM_DATA : MM_WOM_DONE, reinterpret_cast<LPARAM>(&header));
}

bool OpenDevice::holds(const WAVEHDR* header) {
    std::lock_guard guard(lock_);
    return std::find(held_.begin(), held_.end(), header) != held_.end();
}

bool OpenDevice::holdsAny() {
    std::lock_guard guard(lock_);
    return !held_.empty();
}

MMRESULT OpenDevice::submit(WAVEHDR& header) {
    {
        std::lock_guard guard(lock_);
        held_.push_back(&header);
        header.dwFlags = (header.dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
        if (direction_ == Direction::Input) header.dwBytesRecorded = 0;
    }
    // Without the lock: the backend may report buffers from inside submit().
    const MMRESULT r = stream_->submit(header);
    if (r != MMSYSERR_NOERROR) {
        std::lock_guard guard(lock_);
        const auto it = std::find(held_.begin(), held_.end(), &header);
        if (it != held_.end()) held_.erase(it);
        header.dwFlags &= ~WHDR_INQUEUE;
    }
    return r;
}

void OpenDevice::notifyOpen() const { post(direction_ == Direction::Input ? MM_WIM_OPEN : MM_WOM_OPEN, 0); }

void OpenDevice::notifyClose() const { post(direction_ == Direction::Input ? MM_WIM_CLOSE : MM_WOM_CLOSE, 0); }

void OpenDevice::post(UINT msg, LPARAM lParam) const {
    if (callback_ != 0) postMessage(callback_, msg, handle_, lParam);
}

}  // namespace platform::wave
