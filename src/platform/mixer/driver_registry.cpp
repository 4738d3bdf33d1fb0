#include "platform/mixer/driver_registry.h"

#include "platform/current_driver.h"

namespace platform::mixer {
namespace {

CurrentDriver<MixerDriver>& registry() {
    static CurrentDriver<MixerDriver> r;
    return r;
}

}  // namespace

void setDriver(std::shared_ptr<MixerDriver> driver) { registry().set(std::move(driver)); }

std::shared_ptr<MixerDriver> currentDriver() { return registry().get(); }

}  // namespace platform::mixer
