#pragma once
// Removes the wave-audio and mixer drivers a test installed when the test
// ends (also when an assertion ended it early): a member of the test's
// fixture, after whatever the drivers serve.
#include "platform/mixer/driver_registry.h"
#include "platform/wave/driver_registry.h"

namespace testsupport {

struct InstalledDrivers {
    InstalledDrivers() = default;
    InstalledDrivers(const InstalledDrivers&) = delete;
    InstalledDrivers& operator=(const InstalledDrivers&) = delete;
    ~InstalledDrivers() {
        platform::wave::setDriver(nullptr);
        platform::mixer::setDriver(nullptr);
    }
};

}  // namespace testsupport
