#pragma once
// How an ALSA card's simple-mixer elements become a mixer of destinations,
// sources and controls. Pure data in, pure data out: the ALSA driver describes
// its elements with AlsaElementInfo and serves the layout built here.
//
// Destination 0, speakers (DST_SPEAKERS), when any element has a playback
// volume or switch:
//   - its own controls come from "Master" (or, without one, the first element
//     with a playback volume): VOLUME from the playback volume, MUTE from the
//     playback switch;
//   - every other element with a playback volume or switch is a source line
//     with the same two controls. Its component type follows its name:
//     "PCM"/"Wave" wave-out, "Line"/"Line In" line, "Mic"/"Microphone"/"… Mic"
//     microphone, "CD" compact disc, "Aux" auxiliary, "Synth"/"MIDI"/"FM"
//     synthesizer, "PC Speaker"/"Beep"/"PC Beep" PC speaker, "Phone"
//     telephone; any other name undefined.
// Next destination, recording (DST_WAVEIN), when any element has a capture
// volume or switch, or is a capture-source enumeration:
//   - its own controls come from "Capture": VOLUME from the capture volume,
//     MUTE from the capture switch;
//   - with a capture-source enumeration ("Capture Source", "Input Source" ...):
//     a MUX whose items are the enumeration's items, and one source line per
//     item, named after it, carrying the capture VOLUME of the element of the
//     same name if there is one; capture elements not named by an item follow
//     as further sources;
//   - otherwise every other capture element is a source line with its capture
//     VOLUME, and the capture switches of those sources form one list control
//     on the destination, item j being the j-th source that has a capture
//     switch: a MUX when the switches are exclusive, else a MIXER (multiple
//     selection).
// Elements that are only enumerations of something else are left out.
//
// Values: volumes are scaled from the element's range onto 0..65535; a MUTE
// word is 1 when the switch is off; list items are 1 when selected. A line has
// one channel when its element is mono, else two: word 0 goes to the left
// channels (and any channel that is neither left nor right), word 1 to the
// right ones. A control is UNIFORM when ALSA joins its channels.
#include "platform/mixer/topology.h"

#include <string>
#include <vector>

namespace platform::mixer::alsa {

struct AlsaElementInfo {
    std::string name;
    unsigned index = 0;
    struct Side {
        bool volume = false;
        bool switched = false;  // has a switch
        bool mono = false;
        bool volumeJoined = false;
        bool switchJoined = false;
        long volumeMin = 0;
        long volumeMax = 0;
    };
    Side playback;
    Side capture;
    bool captureSwitchExclusive = false;
    bool enumerated = false;     // an enumeration element (of any kind)
    bool captureEnum = false;    // an enumeration choosing the capture source
    std::vector<std::string> enumItems;
};

enum class AlsaValueKind {
    PlaybackVolume,
    PlaybackMute,
    CaptureVolume,
    CaptureMute,
    CaptureEnumSelect,    // item j selected = enumeration item j chosen
    CaptureSwitchSelect,  // item j = capture switch of elements[j]
};

struct AlsaBinding {
    DWORD controlId = 0;
    AlsaValueKind kind = AlsaValueKind::PlaybackVolume;
    std::size_t element = 0;            // the element (not for CaptureSwitchSelect)
    std::vector<std::size_t> elements;  // CaptureSwitchSelect: the element of each item
    ControlLocation where;
};

struct AlsaLayout {
    MixerTopology topology;
    std::vector<AlsaBinding> bindings;

    const AlsaBinding* binding(DWORD controlId) const;
    // Whether the binding reads or writes this element.
    static bool uses(const AlsaBinding& binding, std::size_t element);
};

AlsaLayout buildAlsaLayout(const std::vector<AlsaElementInfo>& elements, const std::string& productName);

// The component type of a source line named `name`.
DWORD componentTypeForName(const std::string& name);

// Volumes between the element's range and 0..65535, rounded to nearest; words
// above 65535 count as 65535.
DWORD volumeToWord(long value, long min, long max);
long wordToVolume(DWORD word, long min, long max);

}  // namespace platform::mixer::alsa
