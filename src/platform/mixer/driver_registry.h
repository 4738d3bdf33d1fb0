#pragma once
// The process-wide current mixer driver. The application chooses one at start
// (from --audio), tests install a SimMixerDriver. Mixers already open keep the
// driver they were opened with; a new driver applies to later calls by device
// number (mixerGetNumDevs, mixerGetDevCapsA, mixerOpen).
#include "platform/mixer/mixer_driver.h"

#include <memory>

namespace platform::mixer {

// Installs `driver` (may be null: there is then no mixer device).
void setDriver(std::shared_ptr<MixerDriver> driver);
std::shared_ptr<MixerDriver> currentDriver();

}  // namespace platform::mixer
