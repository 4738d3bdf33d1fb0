#include "platform/mixer/sim/topology_builders.h"

namespace platform::mixer::sim {

TopologyControl volumeControl(DWORD value, DWORD flags) {
    TopologyControl c;
    c.type = MIXERCONTROL_CONTROLTYPE_VOLUME;
    c.flags = flags;
    c.shortName = "Volume";
    c.name = "Volume";
    c.minimum = 0;
    c.maximum = 65535;
    c.steps = 32;
    c.values = {value, value};
    return c;
}

TopologyControl muteControl(DWORD muted, DWORD flags) {
    TopologyControl c;
    c.type = MIXERCONTROL_CONTROLTYPE_MUTE;
    c.flags = flags;
    c.shortName = "Mute";
    c.name = "Mute";
    c.minimum = 0;
    c.maximum = 1;
    c.values = {muted, muted};
    return c;
}

TopologyControl listControl(DWORD type, DWORD items, std::vector<DWORD> selected) {
    TopologyControl c;
    c.type = type;
    c.flags = MIXERCONTROL_CONTROLF_UNIFORM | MIXERCONTROL_CONTROLF_MULTIPLE;
    c.items = items;
    c.shortName = type == MIXERCONTROL_CONTROLTYPE_MUX ? "Mux" : "Mixer";
    c.name = type == MIXERCONTROL_CONTROLTYPE_MUX ? "Recording Source" : "Recording Sources";
    c.minimum = 0;
    c.maximum = 1;
    c.values = std::move(selected);
    return c;
}

TopologyControl control(DWORD type, std::string name, DWORD flags) {
    TopologyControl c;
    c.type = type;
    c.flags = flags;
    c.shortName = name.substr(0, MIXER_SHORT_NAME_CHARS - 1);
    c.name = std::move(name);
    return c;
}

TopologyLine line(DWORD componentType, std::string name, DWORD channels, std::vector<TopologyControl> controls) {
    TopologyLine l;
    l.componentType = componentType;
    l.channels = channels;
    l.shortName = name.substr(0, MIXER_SHORT_NAME_CHARS - 1);
    l.name = std::move(name);
    l.controls = std::move(controls);
    if (componentType == MIXERLINE_COMPONENTTYPE_DST_SPEAKERS || componentType == MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT)
        l.targetType = MIXERLINE_TARGETTYPE_WAVEOUT;
    if (componentType == MIXERLINE_COMPONENTTYPE_DST_WAVEIN) l.targetType = MIXERLINE_TARGETTYPE_WAVEIN;
    return l;
}

}  // namespace platform::mixer::sim
