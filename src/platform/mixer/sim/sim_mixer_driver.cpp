#include "platform/mixer/sim/sim_mixer_driver.h"

#include "platform/win/message_window.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace platform::mixer::sim {

namespace {

// Gives every control exactly the value words its line and flags call for.
void sizeValues(MixerTopology& topology) {
    auto size = [](TopologyLine& line) {
        for (auto& c : line.controls)
            c.values.resize(static_cast<std::size_t>(valueChannels(c, line)) * valueItems(c));
    };
    for (auto& dest : topology.destinations) {
        size(dest.line);
        for (auto& source : dest.sources) size(source);
    }
}

}  // namespace

SimMixerDriver::SimMixerDriver(std::vector<MixerTopology> devices) : devices_(std::move(devices)) {
    for (auto& topology : devices_) {
        assignIdentifiers(topology);
        sizeValues(topology);
    }
}

void SimMixerDriver::injectFault(Call call, MMRESULT result, std::optional<DWORD> target, int count) {
    faults_.push_back(Fault{call, result, target, count});
}

int SimMixerDriver::callCount(Call call) const {
    const auto it = calls_.find(call);
    return it == calls_.end() ? 0 : it->second;
}

MMRESULT SimMixerDriver::enter(Call call, std::optional<DWORD> target) {
    ++calls_[call];
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (it->call != call || it->remaining == 0) continue;
        if (it->target && (!target || *it->target != *target)) continue;
        if (it->remaining > 0) --it->remaining;
        return it->result;
    }
    return MMSYSERR_NOERROR;
}

MixerTopology* SimMixerDriver::deviceOf(HMIXER handle) {
    const auto it = sessions_.find(handle);
    return it == sessions_.end() ? nullptr : &devices_[it->second.device];
}

TopologyControl& SimMixerDriver::control(MixerTopology& topology, const ControlLocation& where) {
    return findLine(topology, where.destination, where.source)->controls[where.index];
}

MMRESULT SimMixerDriver::getDevCaps(UINT device, MIXERCAPSA& caps) {
    if (const MMRESULT r = enter(Call::GetDevCaps, device); r != MMSYSERR_NOERROR) return r;
    describeDevice(devices_[device], caps);
    return MMSYSERR_NOERROR;
}

MMRESULT SimMixerDriver::open(UINT device, HMIXER handle, HWND window) {
    if (const MMRESULT r = enter(Call::Open, device); r != MMSYSERR_NOERROR) return r;
    sessions_[handle] = Session{device, window};
    return MMSYSERR_NOERROR;
}

MMRESULT SimMixerDriver::close(HMIXER handle) {
    const MMRESULT r = enter(Call::Close, {});
    sessions_.erase(handle);
    return r;
}

MMRESULT SimMixerDriver::getLineInfo(HMIXER handle, DWORD query, MIXERLINEA& line) {
    MixerTopology* topology = deviceOf(handle);
    if (topology == nullptr) return MMSYSERR_INVALHANDLE;
    const TopologyLine* target = nullptr;
    if (query == MIXER_GETLINEINFOF_DESTINATION)
        target = findLine(*topology, line.dwDestination, -1);
    else if (line.dwSource <= 0x7FFFFFFFu)
        target = findLine(*topology, line.dwDestination, static_cast<int>(line.dwSource));
    if (const MMRESULT r = enter(Call::GetLineInfo, target ? std::optional<DWORD>(target->id) : std::nullopt);
        r != MMSYSERR_NOERROR)
        return r;
    return describeLine(*topology, query, line);
}

MMRESULT SimMixerDriver::getLineControls(HMIXER handle, MIXERLINECONTROLSA& controls) {
    MixerTopology* topology = deviceOf(handle);
    if (topology == nullptr) return MMSYSERR_INVALHANDLE;
    if (const MMRESULT r = enter(Call::GetLineControls, controls.dwLineID); r != MMSYSERR_NOERROR) return r;
    return describeControls(*topology, controls);
}

MMRESULT SimMixerDriver::getControlDetails(HMIXER handle, const MIXERCONTROLDETAILS& details) {
    MixerTopology* topology = deviceOf(handle);
    if (topology == nullptr) return MMSYSERR_INVALHANDLE;
    if (const MMRESULT r = enter(Call::GetControlDetails, details.dwControlID); r != MMSYSERR_NOERROR) return r;
    ControlLocation where;
    if (const MMRESULT r = checkDetails(*topology, details, where); r != MMSYSERR_NOERROR) return r;
    const TopologyLine& line = *findLine(*topology, where.destination, where.source);
    const TopologyControl& c = line.controls[where.index];
    copyToDetails(c.values, valueChannels(c, line), valueItems(c), details);
    return MMSYSERR_NOERROR;
}

MMRESULT SimMixerDriver::setControlDetails(HMIXER handle, const MIXERCONTROLDETAILS& details) {
    MixerTopology* topology = deviceOf(handle);
    if (topology == nullptr) return MMSYSERR_INVALHANDLE;
    if (const MMRESULT r = enter(Call::SetControlDetails, details.dwControlID); r != MMSYSERR_NOERROR) return r;
    ControlLocation where;
    if (const MMRESULT r = checkDetails(*topology, details, where); r != MMSYSERR_NOERROR) return r;
    const TopologyLine& line = *findLine(*topology, where.destination, where.source);
    TopologyControl& c = control(*topology, where);

    const DWORD items = valueItems(c);
    Write write{details.cChannels, details.cMultipleItems, {}};
    write.words.resize(static_cast<std::size_t>(std::max<DWORD>(details.cChannels, 1)) * std::max<DWORD>(items, 1));
    std::memcpy(write.words.data(), details.paDetails, write.words.size() * sizeof(DWORD));

    std::vector<DWORD> before = c.values;
    copyFromDetails(details, valueChannels(c, line), items, c.values);
    const UINT device = sessions_.at(handle).device;
    writes_[{device, c.id}] = std::move(write);
    if (c.values != before) notify(device, MM_MIXM_CONTROL_CHANGE, c.id);
    return MMSYSERR_NOERROR;
}

std::optional<SimMixerDriver::Write> SimMixerDriver::lastWrite(DWORD controlId, UINT device) const {
    const auto it = writes_.find({device, controlId});
    if (it == writes_.end()) return std::nullopt;
    return it->second;
}

std::vector<DWORD> SimMixerDriver::controlValue(DWORD controlId, UINT device) const {
    const MixerTopology& topology = devices_.at(device);
    const auto where = findControl(topology, controlId);
    if (!where) throw std::out_of_range("SimMixerDriver: no control with this identifier");
    return findLine(topology, where->destination, where->source)->controls[where->index].values;
}

void SimMixerDriver::changeControl(DWORD controlId, std::vector<DWORD> words, UINT device) {
    MixerTopology& topology = devices_.at(device);
    const auto where = findControl(topology, controlId);
    if (!where) throw std::out_of_range("SimMixerDriver: no control with this identifier");
    TopologyControl& c = control(topology, *where);
    words.resize(c.values.size());
    c.values = std::move(words);
    notify(device, MM_MIXM_CONTROL_CHANGE, controlId);
}

void SimMixerDriver::changeLine(DWORD lineId, const std::function<void(TopologyLine&)>& edit, UINT device) {
    MixerTopology& topology = devices_.at(device);
    const auto where = findLineById(topology, lineId);
    if (!where) throw std::out_of_range("SimMixerDriver: no line with this identifier");
    TopologyLine& line = *findLine(topology, where->first, where->second);
    edit(line);
    line.id = lineId;
    assignIdentifiers(topology);
    sizeValues(topology);
    notify(device, MM_MIXM_LINE_CHANGE, lineId);
}

void SimMixerDriver::notify(UINT device, UINT message, DWORD id) {
    for (const auto& [handle, session] : sessions_) {
        if (session.device != device || session.window == 0) continue;
        postMessage(session.window, message, static_cast<WPARAM>(handle), static_cast<LPARAM>(id));
    }
}

}  // namespace platform::mixer::sim
