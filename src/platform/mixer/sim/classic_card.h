#pragma once
// The sound card the instruments were calibrated on, as a simulated mixer: a
// speakers destination (volume, mute) with wave-out, synthesizer, CD, line,
// microphone and PC-speaker sources, and a recording destination whose MUX
// chooses among its synthesizer, CD, line and microphone sources. Volumes start
// at three quarters, nothing muted, the line input selected for recording.
#include "platform/mixer/topology.h"

#include <string>

namespace platform::mixer::sim {

// The product name the card reports.
std::string classicCardProductName();
MixerTopology classicCardTopology();

}  // namespace platform::mixer::sim
