#include "platform/mixer/topology.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace platform::mixer {
namespace {

DWORD defaultLineId(DWORD destination, int source) {
    if (source < 0) return destination;
    return ((static_cast<DWORD>(source) + 1u) << 16) | (destination & 0xFFFFu);
}

template <class Topology, class Fn>
void forEachLine(Topology& topology, Fn fn) {
    for (std::size_t d = 0; d < topology.destinations.size(); ++d) {
        auto& dest = topology.destinations[d];
        fn(dest.line, static_cast<DWORD>(d), -1);
        for (std::size_t s = 0; s < dest.sources.size(); ++s)
            fn(dest.sources[s], static_cast<DWORD>(d), static_cast<int>(s));
    }
}

void describeOneLine(const MixerTopology& topology, const TopologyLine& line, DWORD d, int s,
                     DWORD connections, MIXERLINEA& out) {
    out.dwDestination = d;
    out.dwSource = s < 0 ? 0 : static_cast<DWORD>(s);
    out.dwLineID = line.id;
    out.fdwLine = line.flags | (s < 0 ? 0u : MIXERLINE_LINEF_SOURCE);
    out.dwUser = 0;
    out.dwComponentType = line.componentType;
    out.cChannels = line.channels;
    out.cConnections = connections;
    out.cControls = static_cast<DWORD>(line.controls.size());
    copyName(out.szShortName, line.shortName);
    copyName(out.szName, line.name);
    out.Target.dwType = line.targetType;
    out.Target.dwDeviceID = 0;
    out.Target.wMid = topology.mid;
    out.Target.wPid = topology.pid;
    out.Target.vDriverVersion = topology.driverVersion;
    copyName(out.Target.szPname, topology.productName);
}

}  // namespace

void assignIdentifiers(MixerTopology& topology) {
    std::set<DWORD> taken;
    forEachLine(topology, [&](TopologyLine& line, DWORD, int) {
        for (const auto& c : line.controls)
            if (c.id != 0) taken.insert(c.id);
    });
    DWORD next = 1;
    forEachLine(topology, [&](TopologyLine& line, DWORD d, int s) {
        if (line.id == 0) line.id = defaultLineId(d, s);
        for (auto& c : line.controls) {
            if (c.id != 0) continue;
            while (taken.count(next) != 0) ++next;
            c.id = next;
            taken.insert(next);
        }
    });
}

DWORD valueChannels(const TopologyControl& control, const TopologyLine& line) {
    if ((control.flags & MIXERCONTROL_CONTROLF_UNIFORM) != 0 || control.type == MIXERCONTROL_CONTROLTYPE_CUSTOM)
        return 1;
    return std::max<DWORD>(line.channels, 1);
}

DWORD valueItems(const TopologyControl& control) {
    return (control.flags & MIXERCONTROL_CONTROLF_MULTIPLE) != 0 ? control.items : 1;
}

const TopologyLine* findLine(const MixerTopology& topology, DWORD destination, int source) {
    if (destination >= topology.destinations.size()) return nullptr;
    const auto& dest = topology.destinations[destination];
    if (source < 0) return &dest.line;
    if (static_cast<std::size_t>(source) >= dest.sources.size()) return nullptr;
    return &dest.sources[static_cast<std::size_t>(source)];
}

TopologyLine* findLine(MixerTopology& topology, DWORD destination, int source) {
    return const_cast<TopologyLine*>(findLine(static_cast<const MixerTopology&>(topology), destination, source));
}

std::optional<std::pair<DWORD, int>> findLineById(const MixerTopology& topology, DWORD lineId) {
    std::optional<std::pair<DWORD, int>> found;
    forEachLine(topology, [&](const TopologyLine& line, DWORD d, int s) {
        if (!found && line.id == lineId) found = std::make_pair(d, s);
    });
    return found;
}

std::optional<ControlLocation> findControl(const MixerTopology& topology, DWORD controlId) {
    std::optional<ControlLocation> found;
    forEachLine(topology, [&](const TopologyLine& line, DWORD d, int s) {
        for (std::size_t i = 0; i < line.controls.size() && !found; ++i)
            if (line.controls[i].id == controlId) found = ControlLocation{d, s, static_cast<DWORD>(i)};
    });
    return found;
}

void describeDevice(const MixerTopology& topology, MIXERCAPSA& caps) {
    caps.wMid = topology.mid;
    caps.wPid = topology.pid;
    caps.vDriverVersion = topology.driverVersion;
    copyName(caps.szPname, topology.productName);
    caps.fdwSupport = 0;
    caps.cDestinations = static_cast<DWORD>(topology.destinations.size());
}

MMRESULT describeLine(const MixerTopology& topology, DWORD query, MIXERLINEA& line) {
    const DWORD d = line.dwDestination;
    if (d >= topology.destinations.size()) return MIXERR_INVALLINE;
    const auto& dest = topology.destinations[d];
    if (query == MIXER_GETLINEINFOF_DESTINATION) {
        describeOneLine(topology, dest.line, d, -1, static_cast<DWORD>(dest.sources.size()), line);
        return MMSYSERR_NOERROR;
    }
    if (line.dwSource >= dest.sources.size()) return MIXERR_INVALLINE;
    describeOneLine(topology, dest.sources[line.dwSource], d, static_cast<int>(line.dwSource), 0, line);
    return MMSYSERR_NOERROR;
}

MMRESULT describeControls(const MixerTopology& topology, MIXERLINECONTROLSA& controls) {
    const auto where = findLineById(topology, controls.dwLineID);
    if (!where) return MIXERR_INVALLINE;
    const TopologyLine& line = *findLine(topology, where->first, where->second);
    if (controls.cControls != line.controls.size() || line.controls.empty()) return MMSYSERR_INVALPARAM;
    for (std::size_t i = 0; i < line.controls.size(); ++i) {
        const TopologyControl& c = line.controls[i];
        MIXERCONTROLA out;
        out.cbStruct = sizeof(MIXERCONTROLA);
        out.dwControlID = c.id;
        out.dwControlType = c.type;
        out.fdwControl = c.flags;
        out.cMultipleItems = (c.flags & MIXERCONTROL_CONTROLF_MULTIPLE) != 0 ? c.items : 0;
        copyName(out.szShortName, c.shortName);
        copyName(out.szName, c.name);
        out.Bounds.lMinimum = c.minimum;
        out.Bounds.lMaximum = c.maximum;
        out.Metrics.cSteps = c.steps;
        controls.pamxctrl[i] = out;
    }
    return MMSYSERR_NOERROR;
}

MMRESULT checkDetails(const MixerTopology& topology, const MIXERCONTROLDETAILS& details, ControlLocation& where) {
    const auto found = findControl(topology, details.dwControlID);
    if (!found) return MIXERR_INVALCONTROL;
    const TopologyLine& line = *findLine(topology, found->destination, found->source);
    const TopologyControl& control = line.controls[found->index];
    if (details.cbDetails != sizeof(DWORD)) return MMSYSERR_INVALPARAM;
    if (control.type == MIXERCONTROL_CONTROLTYPE_CUSTOM) {
        if (details.cChannels > 1) return MMSYSERR_INVALPARAM;
    } else if (details.cChannels != 1 && details.cChannels != line.channels) {
        return MMSYSERR_INVALPARAM;
    }
    const bool multiple = (control.flags & MIXERCONTROL_CONTROLF_MULTIPLE) != 0;
    if (details.cMultipleItems != (multiple ? control.items : 0u)) return MMSYSERR_INVALPARAM;
    where = *found;
    return MMSYSERR_NOERROR;
}

void copyToDetails(const std::vector<DWORD>& own, DWORD ownChannels, DWORD items, const MIXERCONTROLDETAILS& details) {
    const DWORD channels = std::max<DWORD>(details.cChannels, 1);
    auto* out = static_cast<unsigned char*>(details.paDetails);
    for (DWORD c = 0; c < channels; ++c) {
        const DWORD from = channels == ownChannels ? c : 0;
        for (DWORD j = 0; j < items; ++j) {
            const std::size_t k = static_cast<std::size_t>(from) * items + j;
            const DWORD word = k < own.size() ? own[k] : 0;
            std::memcpy(out + (static_cast<std::size_t>(c) * items + j) * sizeof(DWORD), &word, sizeof(DWORD));
        }
    }
}

void copyFromDetails(const MIXERCONTROLDETAILS& details, DWORD ownChannels, DWORD items, std::vector<DWORD>& own) {
    const DWORD channels = std::max<DWORD>(details.cChannels, 1);
    own.resize(static_cast<std::size_t>(ownChannels) * items);
    const auto* in = static_cast<const unsigned char*>(details.paDetails);
    for (DWORD c = 0; c < ownChannels; ++c) {
        const DWORD from = channels == ownChannels ? c : 0;
        for (DWORD j = 0; j < items; ++j) {
            DWORD word = 0;
            std::memcpy(&word, in + (static_cast<std::size_t>(from) * items + j) * sizeof(DWORD), sizeof(DWORD));
            own[static_cast<std::size_t>(c) * items + j] = word;
        }
    }
}

}  // namespace platform::mixer
