#pragma once
// The process-wide current driver of one kind (wave audio, mixer): set by the
// application at start and by tests; read by every call that opens a device.
// Thread-safe.
#include <memory>
#include <mutex>

namespace platform {

template <class Driver>
class CurrentDriver {
public:
    void set(std::shared_ptr<Driver> driver) {
        std::lock_guard guard(lock_);
        current_ = std::move(driver);
    }
    std::shared_ptr<Driver> get() const {
        std::lock_guard guard(lock_);
        return current_;
    }

private:
    mutable std::mutex lock_;
    std::shared_ptr<Driver> current_;
};

}  // namespace platform
