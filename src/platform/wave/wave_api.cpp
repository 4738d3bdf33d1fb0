#include "platform/wave/wave_api.h"

#include "platform/wave/driver_registry.h"
#include "platform/wave/open_device.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <unordered_map>

namespace platform::wave {
namespace {

// Open devices by handle value. Touched from the UI thread only (backends
// report through their OpenDevice, never through this table).
struct DeviceTable {
    std::unordered_map<std::uint32_t, std::unique_ptr<OpenDevice>> devices;
    std::uint32_t next = 1;

    std::uint32_t newHandle() {
        std::uint32_t h = next++;
        if (next == 0) next = 1;  // unsigned wrap; 0 is never a handle
        return h;
    }
};

DeviceTable& table() {
    static DeviceTable t;
    return t;
}

OpenDevice* find(Direction direction, std::uint32_t handle) {
    auto& t = table();
    const auto it = t.devices.find(handle);
    if (it == t.devices.end() || it->second->direction() != direction) return nullptr;
    return it->second.get();
}

bool consistentPcm(const WAVEFORMATEX& f) {
    if (f.wFormatTag != WAVE_FORMAT_PCM) return false;
    if (f.nChannels < 1 || (f.wBitsPerSample != 8 && f.wBitsPerSample != 16)) return false;
    if (f.nSamplesPerSec == 0) return false;
    const std::uint64_t align = std::uint64_t{f.nChannels} * (f.wBitsPerSample / 8u);
    return f.nBlockAlign == align && std::uint64_t{f.nAvgBytesPerSec} == align * f.nSamplesPerSec;
}

UINT numDevs(Direction direction) {
    const auto driver = currentDriver();
    return driver ? driver->deviceCount(direction) : 0;
}

MMRESULT open(Direction direction, std::uint32_t* handleOut, UINT device, const WAVEFORMATEX* format,
              DWORD_PTR callback, DWORD flags) {
    const bool query = (flags & WAVE_FORMAT_QUERY) != 0;
    if (format == nullptr || (handleOut == nullptr && !query)) return MMSYSERR_INVALPARAM;
    if ((flags & ~(WAVE_FORMAT_QUERY | WAVE_ALLOWSYNC | CALLBACK_TYPEMASK)) != 0) return MMSYSERR_INVALFLAG;
    const DWORD callbackType = flags & CALLBACK_TYPEMASK;
    if (callbackType != CALLBACK_NULL && callbackType != CALLBACK_WINDOW) return MMSYSERR_INVALFLAG;
    if (callbackType == CALLBACK_WINDOW && !query &&
        (callback == 0 || callback > std::numeric_limits<HWND>::max()))
        return MMSYSERR_INVALPARAM;
    if (!consistentPcm(*format)) return WAVERR_BADFORMAT;

    auto driver = currentDriver();
    if (!driver) return MMSYSERR_NODRIVER;
    const UINT count = driver->deviceCount(direction);
    if (device == WAVE_MAPPER) {
        if (count == 0) return MMSYSERR_NODRIVER;
    } else if (device >= count) {
        return MMSYSERR_BADDEVICEID;
    }

    auto& t = table();
    const HWND window = (callbackType == CALLBACK_WINDOW && !query) ? static_cast<HWND>(callback) : 0;
    auto record = std::make_unique<OpenDevice>(direction, t.newHandle(), window, driver);
    const MMRESULT r = driver->open(direction, device, *format, *record, record->streamSlot());
    if (r != MMSYSERR_NOERROR) return r;
    if (!record->streamSlot()) return MMSYSERR_ERROR;  // a backend that reports success but opens nothing
    if (query) {
        record->stream().close();
        return MMSYSERR_NOERROR;
    }
    *handleOut = record->handle();
    record->notifyOpen();
    t.devices.emplace(record->handle(), std::move(record));
    return MMSYSERR_NOERROR;
}

MMRESULT close(Direction direction, std::uint32_t handle) {
    OpenDevice* d = find(direction, handle);
    if (d == nullptr) return MMSYSERR_INVALHANDLE;
    if (d->holdsAny()) return WAVERR_STILLPLAYING;
    d->stream().close();
    d->notifyClose();
    table().devices.erase(handle);
    return MMSYSERR_NOERROR;
}

MMRESULT checkHeader(const WAVEHDR* header, UINT size) {
    if (header == nullptr || size != sizeof(WAVEHDR) || header->lpData == nullptr) return MMSYSERR_INVALPARAM;
    return MMSYSERR_NOERROR;
}

MMRESULT prepare(Direction direction, std::uint32_t handle, WAVEHDR* header, UINT size) {
    OpenDevice* d = find(direction, handle);
    if (d == nullptr) return MMSYSERR_INVALHANDLE;
    if (const MMRESULT r = checkHeader(header, size)) return r;
    if (d->holds(header)) return WAVERR_STILLPLAYING;
    if (header->dwFlags & WHDR_PREPARED) return MMSYSERR_NOERROR;
    if (const MMRESULT r = d->stream().prepare(*header)) return r;
    header->dwFlags |= WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT unprepare(Direction direction, std::uint32_t handle, WAVEHDR* header, UINT size) {
    OpenDevice* d = find(direction, handle);
    if (d == nullptr) return MMSYSERR_INVALHANDLE;
    if (header == nullptr || size != sizeof(WAVEHDR)) return MMSYSERR_INVALPARAM;
    if (d->holds(header)) return WAVERR_STILLPLAYING;
    if (!(header->dwFlags & WHDR_PREPARED)) return MMSYSERR_NOERROR;
    if (const MMRESULT r = d->stream().unprepare(*header)) return r;
    header->dwFlags &= ~WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT submit(Direction direction, std::uint32_t handle, WAVEHDR* header, UINT size) {
    OpenDevice* d = find(direction, handle);
    if (d == nullptr) return MMSYSERR_INVALHANDLE;
    if (const MMRESULT r = checkHeader(header, size)) return r;
    if (d->holds(header)) return WAVERR_STILLPLAYING;
    if (!(header->dwFlags & WHDR_PREPARED)) return WAVERR_UNPREPARED;
    return d->submit(*header);
}

template <typename Call>
MMRESULT onStream(Direction direction, std::uint32_t handle, Call call) {
    OpenDevice* d = find(direction, handle);
    if (d == nullptr) return MMSYSERR_INVALHANDLE;
    return call(d->stream());
}

MMRESULT errorText(MMRESULT code, char* text, UINT length) {
    if (text == nullptr || length == 0) return MMSYSERR_INVALPARAM;
    const std::string_view message = resultText(code);
    if (message.empty()) {
        text[0] = '\0';
        return MMSYSERR_BADERRNUM;
    }
    const std::size_t n = std::min<std::size_t>(message.size(), length - 1);
    std::memcpy(text, message.data(), n);
    text[n] = '\0';
    return MMSYSERR_NOERROR;
}

std::uint32_t value(HWAVEIN h) { return static_cast<std::uint32_t>(h); }
std::uint32_t value(HWAVEOUT h) { return static_cast<std::uint32_t>(h); }

}  // namespace

UINT waveInGetNumDevs() { return numDevs(Direction::Input); }

MMRESULT waveInOpen(HWAVEIN* phwi, UINT uDeviceID, const WAVEFORMATEX* pwfx, DWORD_PTR dwCallback,
                    DWORD_PTR /*dwInstance*/, DWORD fdwOpen) {
    std::uint32_t h = 0;
    const MMRESULT r = open(Direction::Input, phwi ? &h : nullptr, uDeviceID, pwfx, dwCallback, fdwOpen);
    if (r == MMSYSERR_NOERROR && phwi && h != 0) *phwi = HWAVEIN{h};
    return r;
}

MMRESULT waveInClose(HWAVEIN hwi) { return close(Direction::Input, value(hwi)); }

MMRESULT waveInPrepareHeader(HWAVEIN hwi, WAVEHDR* pwh, UINT cbwh) {
    return prepare(Direction::Input, value(hwi), pwh, cbwh);
}

MMRESULT waveInUnprepareHeader(HWAVEIN hwi, WAVEHDR* pwh, UINT cbwh) {
    return unprepare(Direction::Input, value(hwi), pwh, cbwh);
}

MMRESULT waveInAddBuffer(HWAVEIN hwi, WAVEHDR* pwh, UINT cbwh) {
    return submit(Direction::Input, value(hwi), pwh, cbwh);
}

MMRESULT waveInStart(HWAVEIN hwi) {
    return onStream(Direction::Input, value(hwi), [](Stream& s) { return s.start(); });
}

MMRESULT waveInReset(HWAVEIN hwi) {
    return onStream(Direction::Input, value(hwi), [](Stream& s) {
        s.reset();
        return MMSYSERR_NOERROR;
    });
}

MMRESULT waveInGetErrorTextA(MMRESULT mmrError, char* pszText, UINT cchText) {
    return errorText(mmrError, pszText, cchText);
}

MMRESULT waveOutOpen(HWAVEOUT* phwo, UINT uDeviceID, const WAVEFORMATEX* pwfx, DWORD_PTR dwCallback,
                     DWORD_PTR /*dwInstance*/, DWORD fdwOpen) {
    std::uint32_t h = 0;
    const MMRESULT r = open(Direction::Output, phwo ? &h : nullptr, uDeviceID, pwfx, dwCallback, fdwOpen);
    if (r == MMSYSERR_NOERROR && phwo && h != 0) *phwo = HWAVEOUT{h};
    return r;
}

MMRESULT waveOutClose(HWAVEOUT hwo) { return close(Direction::Output, value(hwo)); }

MMRESULT waveOutPrepareHeader(HWAVEOUT hwo, WAVEHDR* pwh, UINT cbwh) {
    return prepare(Direction::Output, value(hwo), pwh, cbwh);
}

MMRESULT waveOutUnprepareHeader(HWAVEOUT hwo, WAVEHDR* pwh, UINT cbwh) {
    return unprepare(Direction::Output, value(hwo), pwh, cbwh);
}

MMRESULT waveOutWrite(HWAVEOUT hwo, WAVEHDR* pwh, UINT cbwh) {
    return submit(Direction::Output, value(hwo), pwh, cbwh);
}

MMRESULT waveOutPause(HWAVEOUT hwo) {
    return onStream(Direction::Output, value(hwo), [](Stream& s) { return s.pause(); });
}

MMRESULT waveOutRestart(HWAVEOUT hwo) {
    return onStream(Direction::Output, value(hwo), [](Stream& s) { return s.start(); });
}

MMRESULT waveOutReset(HWAVEOUT hwo) {
    return onStream(Direction::Output, value(hwo), [](Stream& s) {
        s.reset();
        return MMSYSERR_NOERROR;
    });
}

MMRESULT waveOutGetErrorTextA(MMRESULT mmrError, char* pszText, UINT cchText) {
    return errorText(mmrError, pszText, cchText);
}

}  // namespace platform::wave
