#include "platform/wave/driver_registry.h"

#include "platform/current_driver.h"

namespace platform::wave {
namespace {

CurrentDriver<Driver>& registry() {
    static CurrentDriver<Driver> r;
    return r;
}

}  // namespace

void setDriver(std::shared_ptr<Driver> driver) { registry().set(std::move(driver)); }

std::shared_ptr<Driver> currentDriver() { return registry().get(); }

}  // namespace platform::wave
