#pragma once
// MixerDriver: the interface every mixer backend implements (simulated, ALSA).
// The mixer API (mixer_api.h) is the only caller; components never see a
// driver. The API keeps the table of open handles; a backend describes its
// devices and moves control values.
//
// What a backend may assume (the API checks these once, at the front):
//  - `device` is below deviceCount() as the API last read it (a backend whose
//    devices come and go still answers MMSYSERR_BADDEVICEID when it is gone).
//  - `handle` is one the backend's open() accepted and close() has not yet
//    released; open() gets a fresh handle, never used before.
//  - Records are the right size (cbStruct), pointers are not null, buffers have
//    room for what the record says (cControls records, cChannels x
//    max(cMultipleItems, 1) details), cbmxctrl is sizeof(MIXERCONTROLA).
//  - Line queries come as MIXER_GETLINEINFOF_DESTINATION or _SOURCE, control
//    queries as MIXER_GETLINECONTROLSF_ALL, details as _VALUE.
//  - All calls come from the UI thread.
//
// What a backend must guarantee:
//  - Answers as the records describe them: MIXERR_INVALLINE / MIXERR_INVALCONTROL
//    for an unknown line or control, MMSYSERR_INVALPARAM for a request that does
//    not fit the control (the helpers of topology.h do this for a topology).
//  - While a handle is open with a callback window, a change of a control's
//    value or of a line's state, whoever made it (this process included), is
//    posted to that window as MM_MIXM_CONTROL_CHANGE / MM_MIXM_LINE_CHANGE with
//    the handle's value in wParam and the control or line identifier in lParam.
//    After close() returns nothing more is posted for that handle.
#include "platform/mixer/mixer_types.h"

#include <string>

namespace platform::mixer {

class MixerDriver {
public:
    virtual ~MixerDriver() = default;

    // A short name for messages and --list-devices ("sim", "alsa").
    virtual std::string name() const = 0;

    virtual UINT deviceCount() = 0;
    virtual MMRESULT getDevCaps(UINT device, MIXERCAPSA& caps) = 0;

    // Opens `device` under `handle`; notifications go to `window` (0: none).
    virtual MMRESULT open(UINT device, HMIXER handle, HWND window) = 0;
    // Releases the handle; called once per successful open().
    virtual MMRESULT close(HMIXER handle) = 0;

    virtual MMRESULT getLineInfo(HMIXER handle, DWORD query, MIXERLINEA& line) = 0;
    virtual MMRESULT getLineControls(HMIXER handle, MIXERLINECONTROLSA& controls) = 0;
    virtual MMRESULT getControlDetails(HMIXER handle, const MIXERCONTROLDETAILS& details) = 0;
    virtual MMRESULT setControlDetails(HMIXER handle, const MIXERCONTROLDETAILS& details) = 0;
};

}  // namespace platform::mixer
