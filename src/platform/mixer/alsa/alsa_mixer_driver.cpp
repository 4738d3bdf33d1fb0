#include "platform/mixer/alsa/alsa_mixer_driver.h"

#include "platform/mixer/alsa/alsa_mixer_session.h"
#include "platform/alsa/alsa_library_messages.h"

#include <alsa/asoundlib.h>


namespace platform::mixer::alsa {

AlsaMixerDriver::AlsaMixerDriver(std::string device) : device_(std::move(device)) {
    platform::alsa::quietAlsaLibrary();
}

AlsaMixerDriver::~AlsaMixerDriver() = default;

AlsaMixerSession* AlsaMixerDriver::spareSession(MMRESULT& result) {
    result = MMSYSERR_NOERROR;
    // Only as long as start-up takes: an old one may miss elements added since.
    const auto now = std::chrono::steady_clock::now();
    if (spare_ && now - spareLoaded_ > std::chrono::seconds(5)) spare_.reset();
    if (!spare_) {
        spare_ = AlsaMixerSession::open(device_, result, lastError_);
        spareLoaded_ = now;
    }
    return spare_.get();
}

UINT AlsaMixerDriver::deviceCount() {
    MMRESULT result = MMSYSERR_NOERROR;
    return spareSession(result) != nullptr ? 1 : 0;
}

MMRESULT AlsaMixerDriver::getDevCaps(UINT /*device*/, MIXERCAPSA& caps) {
    MMRESULT result = MMSYSERR_NOERROR;
    const AlsaMixerSession* session = spareSession(result);
    if (session == nullptr) return result;
    describeDevice(session->layout().topology, caps);
    return MMSYSERR_NOERROR;
}

MMRESULT AlsaMixerDriver::open(UINT /*device*/, HMIXER handle, HWND window) {
    MMRESULT result = MMSYSERR_NOERROR;
    // The spare session is as fresh as the card: it follows ALSA's events
    // from its own load on, so an open can take it over.
    if (spareSession(result) == nullptr) return result;
    std::unique_ptr<AlsaMixerSession> session = std::move(spare_);
    session->watch(handle, window);
    sessions_[handle] = std::move(session);
    return MMSYSERR_NOERROR;
}

MMRESULT AlsaMixerDriver::close(HMIXER handle) {
    sessions_.erase(handle);
    return MMSYSERR_NOERROR;
}

MMRESULT AlsaMixerDriver::getLineInfo(HMIXER handle, DWORD query, MIXERLINEA& line) {
    const auto it = sessions_.find(handle);
    if (it == sessions_.end()) return MMSYSERR_INVALHANDLE;
    return describeLine(it->second->layout().topology, query, line);
}

MMRESULT AlsaMixerDriver::getLineControls(HMIXER handle, MIXERLINECONTROLSA& controls) {
    const auto it = sessions_.find(handle);
    if (it == sessions_.end()) return MMSYSERR_INVALHANDLE;
    return describeControls(it->second->layout().topology, controls);
}

MMRESULT AlsaMixerDriver::bindControl(HMIXER handle, const MIXERCONTROLDETAILS& details, BoundControl& out) {
    const auto it = sessions_.find(handle);
    if (it == sessions_.end()) return MMSYSERR_INVALHANDLE;
    out.session = it->second.get();
    const MixerTopology& topology = out.session->layout().topology;
    ControlLocation where;
    if (const MMRESULT r = checkDetails(topology, details, where); r != MMSYSERR_NOERROR) return r;
    out.binding = out.session->layout().binding(details.dwControlID);
    if (out.binding == nullptr) return MIXERR_INVALCONTROL;
    const TopologyLine& line = *findLine(topology, where.destination, where.source);
    const TopologyControl& control = line.controls[where.index];
    out.channels = valueChannels(control, line);
    out.items = valueItems(control);
    return MMSYSERR_NOERROR;
}

MMRESULT AlsaMixerDriver::getControlDetails(HMIXER handle, const MIXERCONTROLDETAILS& details) {
    BoundControl c;
    if (const MMRESULT r = bindControl(handle, details, c); r != MMSYSERR_NOERROR) return r;
    std::vector<DWORD> words;
    if (const MMRESULT r = c.session->read(*c.binding, words, lastError_); r != MMSYSERR_NOERROR) return r;
    copyToDetails(words, c.channels, c.items, details);
    return MMSYSERR_NOERROR;
}

MMRESULT AlsaMixerDriver::setControlDetails(HMIXER handle, const MIXERCONTROLDETAILS& details) {
    BoundControl c;
    if (const MMRESULT r = bindControl(handle, details, c); r != MMSYSERR_NOERROR) return r;
    std::vector<DWORD> words;
    copyFromDetails(details, c.channels, c.items, words);
    return c.session->write(*c.binding, words, lastError_);
}

}  // namespace platform::mixer::alsa
