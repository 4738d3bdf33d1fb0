#pragma once
// Records, handles and constants of the wave-audio interface: the stream format,
// the buffer header, device handles, open flags, header flags and the driver
// notifications posted to a callback window.
#include "platform/win/mm_result.h"
#include "platform/win/win_types.h"

#include <cstdint>

namespace platform::wave {

// The operating system's vocabulary (types and general result codes).
using namespace platform::win;

using DWORD_PTR = std::uintptr_t;

// Handles of open devices. Every successful open yields a new value, never
// reused while the process runs; the zero value is "no device".
enum class HWAVEIN : std::uint32_t {};
enum class HWAVEOUT : std::uint32_t {};

// PCM stream format. For PCM the record is consistent when
// nBlockAlign = nChannels * wBitsPerSample / 8 and
// nAvgBytesPerSec = nBlockAlign * nSamplesPerSec.
struct WAVEFORMATEX {
    WORD wFormatTag = 0;
    WORD nChannels = 0;
    DWORD nSamplesPerSec = 0;
    DWORD nAvgBytesPerSec = 0;
    WORD nBlockAlign = 0;
    WORD wBitsPerSample = 0;
    WORD cbSize = 0;
};


// One buffer handed to a device. The caller owns the record and the data; the
// device borrows both from the add/write call until the buffer comes back.
struct WAVEHDR {
    char* lpData = nullptr;
    DWORD dwBufferLength = 0;
    DWORD dwBytesRecorded = 0;
    DWORD_PTR dwUser = 0;
    DWORD dwFlags = 0;
    DWORD dwLoops = 0;
    WAVEHDR* lpNext = nullptr;
    DWORD_PTR reserved = 0;
};

inline constexpr WORD WAVE_FORMAT_PCM = 1;

// Device identifier of the system's preferred device.
inline constexpr UINT WAVE_MAPPER = 0xFFFFFFFFu;

// Open flags.
inline constexpr DWORD WAVE_FORMAT_QUERY = 0x0001;  // only test the format, open nothing
inline constexpr DWORD WAVE_ALLOWSYNC = 0x0002;
inline constexpr DWORD CALLBACK_TYPEMASK = 0x00070000;
inline constexpr DWORD CALLBACK_NULL = 0x00000000;
inline constexpr DWORD CALLBACK_WINDOW = 0x00010000;  // dwCallback is an HWND

// Header flags.
inline constexpr DWORD WHDR_DONE = 0x01;      // the device has given the buffer back
inline constexpr DWORD WHDR_PREPARED = 0x02;  // prepared for this device
inline constexpr DWORD WHDR_BEGINLOOP = 0x04;
inline constexpr DWORD WHDR_ENDLOOP = 0x08;
inline constexpr DWORD WHDR_INQUEUE = 0x10;   // held by the device

// Notifications posted to a CALLBACK_WINDOW. wParam is the device handle's
// value; for MM_WOM_DONE and MM_WIM_DATA lParam is the header's address.
inline constexpr UINT MM_WOM_OPEN = 0x3BB;
inline constexpr UINT MM_WOM_CLOSE = 0x3BC;
inline constexpr UINT MM_WOM_DONE = 0x3BD;
inline constexpr UINT MM_WIM_OPEN = 0x3BE;
inline constexpr UINT MM_WIM_CLOSE = 0x3BF;
inline constexpr UINT MM_WIM_DATA = 0x3C0;

// A consistent PCM format record: block alignment and byte rate derived.
inline WAVEFORMATEX pcmFormat(DWORD rate, WORD channels, WORD bits) {
    WAVEFORMATEX f;
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = channels;
    f.nSamplesPerSec = rate;
    f.wBitsPerSample = bits;
    f.nBlockAlign = static_cast<WORD>(channels * (bits / 8));
    f.nAvgBytesPerSec = f.nBlockAlign * rate;
    return f;
}

}  // namespace platform::wave
