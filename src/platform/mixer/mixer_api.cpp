#include "platform/mixer/mixer_api.h"

#include "platform/mixer/driver_registry.h"

#include <map>
#include <memory>
#include <mutex>

namespace platform::mixer {
namespace {

// Open handles and the driver each was opened with.
struct HandleTable {
    std::mutex lock;
    std::map<HMIXER, std::shared_ptr<MixerDriver>> open;
    std::uint32_t next = 1;
};

HandleTable& handles() {
    static HandleTable t;
    return t;
}

HMIXER newHandle(const std::shared_ptr<MixerDriver>& driver) {
    auto& t = handles();
    std::lock_guard guard(t.lock);
    HMIXER h{};
    do {
        h = HMIXER{t.next++};  // unsigned: wraps, and 0 is skipped below
    } while (static_cast<std::uint32_t>(h) == 0 || t.open.count(h) != 0);
    t.open.emplace(h, driver);
    return h;
}

void forget(HMIXER h) {
    auto& t = handles();
    std::lock_guard guard(t.lock);
    t.open.erase(h);
}

std::shared_ptr<MixerDriver> driverOf(HMIXER h) {
    auto& t = handles();
    std::lock_guard guard(t.lock);
    const auto it = t.open.find(h);
    return it == t.open.end() ? nullptr : it->second;
}

// Checks the flags of a query addressed by handle and returns its kind in `query`.
MMRESULT checkQueryFlags(DWORD flags, DWORD highestKind, DWORD& query) {
    if ((flags & ~(MIXER_OBJECTF_TYPEMASK | MIXER_QUERYMASK)) != 0) return MMSYSERR_INVALFLAG;
    if ((flags & MIXER_OBJECTF_TYPEMASK) != MIXER_OBJECTF_HMIXER) return MMSYSERR_NOTSUPPORTED;
    query = flags & MIXER_QUERYMASK;
    return query <= highestKind ? MMSYSERR_NOERROR : MMSYSERR_NOTSUPPORTED;
}

MMRESULT checkDetailsRecord(const MIXERCONTROLDETAILS* details) {
    if (details == nullptr || details->cbStruct != sizeof(MIXERCONTROLDETAILS)) return MMSYSERR_INVALPARAM;
    if (details->paDetails == nullptr || details->cbDetails != sizeof(DWORD)) return MMSYSERR_INVALPARAM;
    return MMSYSERR_NOERROR;
}

}  // namespace

UINT mixerGetNumDevs() {
    const auto driver = currentDriver();
    return driver ? driver->deviceCount() : 0;
}

MMRESULT mixerGetDevCapsA(UINT uMxId, MIXERCAPSA* pmxcaps, UINT cbmxcaps) {
    if (pmxcaps == nullptr || cbmxcaps != sizeof(MIXERCAPSA)) return MMSYSERR_INVALPARAM;
    const auto driver = currentDriver();
    if (!driver) return MMSYSERR_NODRIVER;
    if (uMxId >= driver->deviceCount()) return MMSYSERR_BADDEVICEID;
    MIXERCAPSA caps;
    const MMRESULT r = driver->getDevCaps(uMxId, caps);
    if (r == MMSYSERR_NOERROR) *pmxcaps = caps;
    return r;
}

MMRESULT mixerOpen(HMIXER* phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR /*dwInstance*/, DWORD fdwOpen) {
    if (phmx == nullptr) return MMSYSERR_INVALPARAM;
    *phmx = HMIXER{};
    if ((fdwOpen & ~CALLBACK_TYPEMASK) != 0) return MMSYSERR_INVALFLAG;
    HWND window = 0;
    switch (fdwOpen & CALLBACK_TYPEMASK) {
        case CALLBACK_NULL:
            break;
        case CALLBACK_WINDOW:
            if (dwCallback == 0 || dwCallback > 0xFFFFFFFFu) return MMSYSERR_INVALPARAM;
            window = static_cast<HWND>(dwCallback);
            break;
        default:
            return MMSYSERR_NOTSUPPORTED;
    }
    const auto driver = currentDriver();
    if (!driver) return MMSYSERR_NODRIVER;
    if (uMxId >= driver->deviceCount()) return MMSYSERR_BADDEVICEID;
    const HMIXER h = newHandle(driver);
    const MMRESULT r = driver->open(uMxId, h, window);
    if (r != MMSYSERR_NOERROR) {
        forget(h);
        return r;
    }
    *phmx = h;
    return MMSYSERR_NOERROR;
}

MMRESULT mixerClose(HMIXER hmx) {
    const auto driver = driverOf(hmx);
    if (!driver) return MMSYSERR_INVALHANDLE;
    // The handle is given up whatever the driver answers: it cannot be used again.
    forget(hmx);
    return driver->close(hmx);
}

MMRESULT mixerGetLineInfoA(HMIXEROBJ hmxobj, MIXERLINEA* pmxl, DWORD fdwInfo) {
    if (pmxl == nullptr || pmxl->cbStruct != sizeof(MIXERLINEA)) return MMSYSERR_INVALPARAM;
    DWORD query = 0;
    if (const MMRESULT r = checkQueryFlags(fdwInfo, MIXER_GETLINEINFOF_SOURCE, query); r != MMSYSERR_NOERROR)
        return r;
    const auto driver = driverOf(hmxobj);
    if (!driver) return MMSYSERR_INVALHANDLE;
    MIXERLINEA line;
    line.cbStruct = sizeof(MIXERLINEA);
    line.dwDestination = pmxl->dwDestination;
    line.dwSource = pmxl->dwSource;
    const MMRESULT r = driver->getLineInfo(hmxobj, query, line);
    if (r == MMSYSERR_NOERROR) *pmxl = line;
    return r;
}

MMRESULT mixerGetLineControlsA(HMIXEROBJ hmxobj, MIXERLINECONTROLSA* pmxlc, DWORD fdwControls) {
    if (pmxlc == nullptr || pmxlc->cbStruct != sizeof(MIXERLINECONTROLSA)) return MMSYSERR_INVALPARAM;
    if (pmxlc->cbmxctrl != sizeof(MIXERCONTROLA) || pmxlc->pamxctrl == nullptr || pmxlc->cControls == 0)
        return MMSYSERR_INVALPARAM;
    DWORD query = 0;
    if (const MMRESULT r = checkQueryFlags(fdwControls, MIXER_GETLINECONTROLSF_ALL, query); r != MMSYSERR_NOERROR)
        return r;
    const auto driver = driverOf(hmxobj);
    if (!driver) return MMSYSERR_INVALHANDLE;
    return driver->getLineControls(hmxobj, *pmxlc);
}

MMRESULT mixerGetControlDetailsA(HMIXEROBJ hmxobj, MIXERCONTROLDETAILS* pmxcd, DWORD fdwDetails) {
    if (const MMRESULT r = checkDetailsRecord(pmxcd); r != MMSYSERR_NOERROR) return r;
    DWORD query = 0;
    if (const MMRESULT r = checkQueryFlags(fdwDetails, MIXER_GETCONTROLDETAILSF_VALUE, query); r != MMSYSERR_NOERROR)
        return r;
    const auto driver = driverOf(hmxobj);
    if (!driver) return MMSYSERR_INVALHANDLE;
    return driver->getControlDetails(hmxobj, *pmxcd);
}

MMRESULT mixerSetControlDetails(HMIXEROBJ hmxobj, MIXERCONTROLDETAILS* pmxcd, DWORD fdwDetails) {
    if (const MMRESULT r = checkDetailsRecord(pmxcd); r != MMSYSERR_NOERROR) return r;
    DWORD query = 0;
    if (const MMRESULT r = checkQueryFlags(fdwDetails, MIXER_SETCONTROLDETAILSF_VALUE, query); r != MMSYSERR_NOERROR)
        return r;
    const auto driver = driverOf(hmxobj);
    if (!driver) return MMSYSERR_INVALHANDLE;
    return driver->setControlDetails(hmxobj, *pmxcd);
}

}  // namespace platform::mixer
