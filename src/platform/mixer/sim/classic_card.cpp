#include "platform/mixer/sim/classic_card.h"

#include "platform/mixer/sim/topology_builders.h"

namespace platform::mixer::sim {
namespace {

constexpr DWORD kStartVolume = 49152;

TopologyLine playbackSource(DWORD type, const char* name, DWORD channels) {
    return line(type, name, channels, {volumeControl(kStartVolume), muteControl()});
}

TopologyLine recordingSource(DWORD type, const char* name, DWORD channels) {
    return line(type, name, channels, {volumeControl(kStartVolume)});
}

}  // namespace

std::string classicCardProductName() { return "PCI 128 Mixer (simulated)"; }

MixerTopology classicCardTopology() {
    MixerTopology t;
    t.productName = classicCardProductName();
    t.mid = 1;
    t.pid = 128;

    TopologyDestination speakers;
    speakers.line = line(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, "Volume Control", 2,
                         {volumeControl(kStartVolume), muteControl()});
    speakers.line.shortName = "Volume";
    speakers.sources = {
        playbackSource(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, "Wave", 2),
        playbackSource(MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER, "MIDI", 2),
        playbackSource(MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, "CD Audio", 2),
        playbackSource(MIXERLINE_COMPONENTTYPE_SRC_LINE, "Line In", 2),
        playbackSource(MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, "Microphone", 1),
        playbackSource(MIXERLINE_COMPONENTTYPE_SRC_PCSPEAKER, "PC Speaker", 1),
    };
    t.destinations.push_back(std::move(speakers));

    TopologyDestination recording;
    recording.line = line(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, "Recording Control", 2,
                          {listControl(MIXERCONTROL_CONTROLTYPE_MUX, 4, {0, 0, 1, 0})});
    recording.line.shortName = "Recording";
    recording.sources = {
        recordingSource(MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER, "MIDI", 2),
        recordingSource(MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, "CD Audio", 2),
        recordingSource(MIXERLINE_COMPONENTTYPE_SRC_LINE, "Line In", 2),
        recordingSource(MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, "Microphone", 1),
    };
    t.destinations.push_back(std::move(recording));
    return t;
}

}  // namespace platform::mixer::sim
