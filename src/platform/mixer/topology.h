#pragma once
// Topology: a mixer described as data. Destinations in index order, each with
// its own controls and its source lines; every line and control with what the
// line and control queries report. The simulated driver is built from one; the
// ALSA driver builds one from the card's elements. The helpers here answer the
// line and control queries from a topology, so every driver reports alike.
#include "platform/mixer/mixer_types.h"

#include <optional>
#include <string>
#include <vector>

namespace platform::mixer {

struct TopologyControl {
    DWORD id = 0;  // dwControlID; 0 = give it the next free identifier
    DWORD type = MIXERCONTROL_CONTROLTYPE_VOLUME;
    DWORD flags = 0;  // fdwControl
    DWORD items = 0;  // cMultipleItems (used when flags has MULTIPLE)
    std::string shortName;
    std::string name;
    LONG minimum = 0;
    LONG maximum = 65535;
    DWORD steps = 0;  // Metrics.cSteps
    // Current values, channel by channel (valueChannels() x valueItems()
    // words). The simulated driver keeps the live values here; empty = zeros.
    std::vector<DWORD> values;
};

struct TopologyLine {
    DWORD id = 0;  // dwLineID; 0 = destination d gets d, source s of d gets ((s + 1) << 16) | d
    DWORD componentType = MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED;
    DWORD channels = 2;  // cChannels
    DWORD flags = MIXERLINE_LINEF_ACTIVE;  // fdwLine (the SOURCE flag is added for sources)
    DWORD targetType = MIXERLINE_TARGETTYPE_UNDEFINED;
    std::string shortName;
    std::string name;
    std::vector<TopologyControl> controls;
};

struct TopologyDestination {
    TopologyLine line;
    std::vector<TopologyLine> sources;
};

struct MixerTopology {
    std::string productName;  // szPname, at most 31 characters are reported
    WORD mid = 0;
    WORD pid = 0;
    UINT driverVersion = 0x0100;
    std::vector<TopologyDestination> destinations;
};

// Where a control sits: destination, source (-1 for the destination's own
// line) and its index among the line's controls.
struct ControlLocation {
    DWORD destination = 0;
    int source = -1;
    DWORD index = 0;
};

// Gives every line and control with identifier 0 its identifier: lines by the
// rule above, controls 1, 2, 3 ... in order (destination's own controls, then
// its sources', destination by destination), skipping identifiers already
// taken. Call once, after the table is complete.
void assignIdentifiers(MixerTopology& topology);

// Channels of a control's value words: 1 for a uniform or custom control,
// else the line's channel count.
DWORD valueChannels(const TopologyControl& control, const TopologyLine& line);
// Items of a control's value words: cMultipleItems for a multiple control, else 1.
DWORD valueItems(const TopologyControl& control);

// The line at (destination, source), or null.
const TopologyLine* findLine(const MixerTopology& topology, DWORD destination, int source);
TopologyLine* findLine(MixerTopology& topology, DWORD destination, int source);
// The first line with this identifier, as (destination, source).
std::optional<std::pair<DWORD, int>> findLineById(const MixerTopology& topology, DWORD lineId);
// The first control with this identifier.
std::optional<ControlLocation> findControl(const MixerTopology& topology, DWORD controlId);

// Answers of the queries. The records have been checked by the API.
void describeDevice(const MixerTopology& topology, MIXERCAPSA& caps);
// Fills `line` from dwDestination (and dwSource for MIXER_GETLINEINFOF_SOURCE).
MMRESULT describeLine(const MixerTopology& topology, DWORD query, MIXERLINEA& line);
// Fills the control records of the line dwLineID; cControls must be its count.
MMRESULT describeControls(const MixerTopology& topology, MIXERLINECONTROLSA& controls);

// Moving values between a details request and a control's own value words
// (valueChannels x valueItems). Reading with one channel gives the first
// channel; writing with one channel sets every channel.
MMRESULT checkDetails(const MixerTopology& topology, const MIXERCONTROLDETAILS& details,
                      ControlLocation& where);
void copyToDetails(const std::vector<DWORD>& own, DWORD ownChannels, DWORD items,
                   const MIXERCONTROLDETAILS& details);
void copyFromDetails(const MIXERCONTROLDETAILS& details, DWORD ownChannels, DWORD items,
                     std::vector<DWORD>& own);

// Copies text into a fixed character array, cut to leave the terminating zero.
template <std::size_t N>
void copyName(char (&to)[N], const std::string& from) {
    std::size_t n = from.size() < N - 1 ? from.size() : N - 1;
    for (std::size_t i = 0; i < n; ++i) to[i] = from[i];
    for (std::size_t i = n; i < N; ++i) to[i] = '\0';
}

}  // namespace platform::mixer
