#pragma once
// Short ways to write topology tables: the usual controls and lines.
#include "platform/mixer/topology.h"

#include <string>
#include <vector>

namespace platform::mixer::sim {

// A volume fader 0..65535 with `value` on every channel.
TopologyControl volumeControl(DWORD value = 0, DWORD flags = 0);
// A mute switch (0 = sounding).
TopologyControl muteControl(DWORD muted = 0, DWORD flags = MIXERCONTROL_CONTROLF_UNIFORM);
// A uniform multiple-item list: MUX (single selection) or MIXER (multiple
// selection) with `items` items and `selected` (one word per item).
TopologyControl listControl(DWORD type, DWORD items, std::vector<DWORD> selected);
// Any control of `type` with the given flags.
TopologyControl control(DWORD type, std::string name, DWORD flags = 0);

TopologyLine line(DWORD componentType, std::string name, DWORD channels, std::vector<TopologyControl> controls);

}  // namespace platform::mixer::sim
