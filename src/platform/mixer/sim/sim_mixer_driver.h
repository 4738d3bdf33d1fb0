#pragma once
// SimMixerDriver: mixers described by topology tables, for tests and the bench.
//
// Each device is one MixerTopology; control values live in the table. Any
// number of handles may be open on a device. A write that changes a control's
// value, and every change made from outside with changeControl()/changeLine(),
// is posted to the callback window of every open handle of that device, as the
// platform does.
//
// Tests see what was written (lastWrite: the words of the last
// mixerSetControlDetails of each control, as passed), how often each call was
// made, and can make calls fail (injectFault).
#include "platform/mixer/mixer_driver.h"
#include "platform/mixer/topology.h"

#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace platform::mixer::sim {

class SimMixerDriver : public MixerDriver {
public:
    // Identifiers left at 0 in the tables are assigned (assignIdentifiers).
    explicit SimMixerDriver(std::vector<MixerTopology> devices);

    std::string name() const override { return "sim"; }
    UINT deviceCount() override { return static_cast<UINT>(devices_.size()); }
    MMRESULT getDevCaps(UINT device, MIXERCAPSA& caps) override;
    MMRESULT open(UINT device, HMIXER handle, HWND window) override;
    MMRESULT close(HMIXER handle) override;
    MMRESULT getLineInfo(HMIXER handle, DWORD query, MIXERLINEA& line) override;
    MMRESULT getLineControls(HMIXER handle, MIXERLINECONTROLSA& controls) override;
    MMRESULT getControlDetails(HMIXER handle, const MIXERCONTROLDETAILS& details) override;
    MMRESULT setControlDetails(HMIXER handle, const MIXERCONTROLDETAILS& details) override;

    enum class Call { GetDevCaps, Open, Close, GetLineInfo, GetLineControls, GetControlDetails, SetControlDetails };

    // The next `count` calls of `call` (every one when count < 0) that concern
    // `target` fail with `result`. The target is the device number for
    // GetDevCaps and Open, the line identifier for GetLineInfo and
    // GetLineControls, the control identifier for the details calls; no target
    // matches every call. A failing call changes nothing (a failing Close still
    // releases the handle).
    void injectFault(Call call, MMRESULT result, std::optional<DWORD> target = {}, int count = -1);
    void clearFaults() { faults_.clear(); }

    // Calls made so far (failed ones included).
    int callCount(Call call) const;

    struct Write {
        DWORD cChannels = 0;
        DWORD cMultipleItems = 0;
        std::vector<DWORD> words;  // cChannels x max(cMultipleItems, 1), as passed
    };
    // The last successful mixerSetControlDetails of a control.
    std::optional<Write> lastWrite(DWORD controlId, UINT device = 0) const;

    const MixerTopology& topology(UINT device = 0) const { return devices_.at(device); }
    // A control's value words (channels x items, channel by channel).
    std::vector<DWORD> controlValue(DWORD controlId, UINT device = 0) const;

    // Changes made by someone else: set a control's words / edit a line (new
    // controls with identifier 0 get one), then notify every open handle.
    void changeControl(DWORD controlId, std::vector<DWORD> words, UINT device = 0);
    void changeLine(DWORD lineId, const std::function<void(TopologyLine&)>& edit, UINT device = 0);

    // Handles open at the moment.
    int openCount() const { return static_cast<int>(sessions_.size()); }

private:
    struct Session {
        UINT device = 0;
        HWND window = 0;
    };
    struct Fault {
        Call call;
        MMRESULT result;
        std::optional<DWORD> target;
        int remaining;
    };

    MMRESULT enter(Call call, std::optional<DWORD> target);
    MixerTopology* deviceOf(HMIXER handle);
    TopologyControl& control(MixerTopology& topology, const ControlLocation& where);
    void notify(UINT device, UINT message, DWORD id);

    std::vector<MixerTopology> devices_;
    std::map<HMIXER, Session> sessions_;
    std::vector<Fault> faults_;
    std::map<Call, int> calls_;
    std::map<std::pair<UINT, DWORD>, Write> writes_;
};

}  // namespace platform::mixer::sim
