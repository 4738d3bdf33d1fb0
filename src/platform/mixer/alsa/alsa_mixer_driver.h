#pragma once
// AlsaMixerDriver: the mixer of a real sound card, through ALSA's simple-mixer
// interface. One device: the ALSA control device `device` ("default" unless
// the application names another, --mixer-device). When that device cannot be
// opened there is no mixer device (deviceCount() is 0).
//
// How elements become destinations, sources and controls, and how values are
// scaled: alsa_layout.h. Each open handle has its own view of the card, built
// at open; changes made by any program (this one included) arrive through
// ALSA's poll descriptors, watched on the UI thread, and are posted as
// MM_MIXM_CONTROL_CHANGE for every control whose value changed. An element that
// disappears leaves its lines disconnected (MM_MIXM_LINE_CHANGE) and its
// controls failing with MMSYSERR_NODRIVER.
#include "platform/mixer/mixer_driver.h"

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace platform::mixer::alsa {

class AlsaMixerSession;
struct AlsaBinding;

class AlsaMixerDriver : public MixerDriver {
public:
    explicit AlsaMixerDriver(std::string device = "default");
    ~AlsaMixerDriver() override;

    std::string name() const override { return "alsa"; }
    const std::string& device() const { return device_; }
    // What ALSA said when it last refused something ("" when nothing failed).
    const std::string& lastError() const { return lastError_; }

    UINT deviceCount() override;
    MMRESULT getDevCaps(UINT device, MIXERCAPSA& caps) override;
    MMRESULT open(UINT device, HMIXER handle, HWND window) override;
    MMRESULT close(HMIXER handle) override;
    MMRESULT getLineInfo(HMIXER handle, DWORD query, MIXERLINEA& line) override;
    MMRESULT getLineControls(HMIXER handle, MIXERLINECONTROLSA& controls) override;
    MMRESULT getControlDetails(HMIXER handle, const MIXERCONTROLDETAILS& details) override;
    MMRESULT setControlDetails(HMIXER handle, const MIXERCONTROLDETAILS& details) override;

private:
    // The open session, ALSA binding and value shape of the control a details
    // request names.
    struct BoundControl {
        AlsaMixerSession* session = nullptr;
        const AlsaBinding* binding = nullptr;
        DWORD channels = 0;
        DWORD items = 0;
    };
    MMRESULT bindControl(HMIXER handle, const MIXERCONTROLDETAILS& details, BoundControl& out);
    // The session counting and describing the device loaded, kept for the
    // open that follows them, so that start-up reads the card once.
    AlsaMixerSession* spareSession(MMRESULT& result);

    std::string device_;
    std::string lastError_;
    std::map<HMIXER, std::unique_ptr<AlsaMixerSession>> sessions_;  // one view of the card per handle
    std::unique_ptr<AlsaMixerSession> spare_;                        // loaded, not yet open
    std::chrono::steady_clock::time_point spareLoaded_;
};

}  // namespace platform::mixer::alsa
