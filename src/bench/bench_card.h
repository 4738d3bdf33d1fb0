#pragma once
// The sound card of the virtual bench: the classic card's simulated mixer,
// and the gains that the bench's circuit reads from it (what the player
// plays is scaled by the wave-out and speakers volumes, what the line input
// records by the recording volume of Line In, when the recording MUX has it).
#include "platform/mixer/sim/sim_mixer_driver.h"

#include <functional>
#include <memory>

namespace bench {

struct BenchCard {
    std::shared_ptr<platform::mixer::sim::SimMixerDriver> mixer;
    std::function<double()> outputGain;     // 0..1
    std::function<double()> recordingGain;  // 0..1
};

// The classic card with its recording Line In at full volume, as the
// instructions ask the teacher to set it.
BenchCard makeBenchCard();

}  // namespace bench
