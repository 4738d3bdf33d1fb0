#include "platform/wave/driver_registry.h"

#include <mutex>

namespace platform::wave {
namespace {

struct Registry {
    std::mutex lock;
    std::shared_ptr<Driver> current;
};

Registry& registry() {
    static Registry r;
    return r;
}

}  // namespace

void setDriver(std::shared_ptr<Driver> driver) {
    auto& r = registry();
    std::lock_guard guard(r.lock);
    r.current = std::move(driver);
}

std::shared_ptr<Driver> currentDriver() {
    auto& r = registry();
    std::lock_guard guard(r.lock);
    return r.current;
}

}  // namespace platform::wave
