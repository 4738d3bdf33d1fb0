#pragma once
// The process-wide current wave driver. The application chooses one at start
// (from --audio), tests install a SimDriver. Devices already open keep the
// driver they were opened with; a new driver applies to later opens.
#include "platform/wave/driver.h"

#include <memory>

namespace platform::wave {

// Installs `driver` (may be null: every open then fails with MMSYSERR_NODRIVER).
void setDriver(std::shared_ptr<Driver> driver);
std::shared_ptr<Driver> currentDriver();

}  // namespace platform::wave
