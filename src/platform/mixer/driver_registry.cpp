#include "platform/mixer/driver_registry.h"

#include <mutex>

namespace platform::mixer {
namespace {

struct Registry {
    std::mutex lock;
    std::shared_ptr<MixerDriver> current;
};

Registry& registry() {
    static Registry r;
    return r;
}

}  // namespace

void setDriver(std::shared_ptr<MixerDriver> driver) {
    auto& r = registry();
    std::lock_guard guard(r.lock);
    r.current = std::move(driver);
}

std::shared_ptr<MixerDriver> currentDriver() {
    auto& r = registry();
    std::lock_guard guard(r.lock);
    return r.current;
}

}  // namespace platform::mixer
