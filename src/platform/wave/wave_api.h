#pragma once
// The wave-audio calls, with the usual meaning of arguments and results.
// Parameters are checked here, once; the work goes to the current driver
// (driver_registry.h). Every call returns MMSYSERR_NOERROR (0) or a result code
// whose text waveInGetErrorTextA / waveOutGetErrorTextA give.
//
// Open: `callback` is an HWND of a platform::win::MessageWindow when `flags` holds
// CALLBACK_WINDOW (CALLBACK_NULL: no notifications); `instance` is unused.
// The device posts MM_*_OPEN after a successful open, one MM_WIM_DATA /
// MM_WOM_DONE per buffer in the order the buffers were added/written, and
// MM_*_CLOSE after a successful close; wParam carries the device handle.
// Headers: cbwh must be sizeof(WAVEHDR). A header must be prepared before it is
// added/written, cannot be added twice, and cannot be unprepared nor the device
// closed while the device holds it (WAVERR_STILLPLAYING).
// All calls are made from the UI thread.
#include "platform/wave/result_codes.h"
#include "platform/wave/wave_types.h"

namespace platform::wave {

UINT waveInGetNumDevs();
MMRESULT waveInOpen(HWAVEIN* phwi, UINT uDeviceID, const WAVEFORMATEX* pwfx,
                    DWORD_PTR dwCallback, DWORD_PTR dwInstance, DWORD fdwOpen);
MMRESULT waveInClose(HWAVEIN hwi);
MMRESULT waveInPrepareHeader(HWAVEIN hwi, WAVEHDR* pwh, UINT cbwh);
MMRESULT waveInUnprepareHeader(HWAVEIN hwi, WAVEHDR* pwh, UINT cbwh);
MMRESULT waveInAddBuffer(HWAVEIN hwi, WAVEHDR* pwh, UINT cbwh);
MMRESULT waveInStart(HWAVEIN hwi);
MMRESULT waveInReset(HWAVEIN hwi);
MMRESULT waveInGetErrorTextA(MMRESULT mmrError, char* pszText, UINT cchText);

MMRESULT waveOutOpen(HWAVEOUT* phwo, UINT uDeviceID, const WAVEFORMATEX* pwfx,
                     DWORD_PTR dwCallback, DWORD_PTR dwInstance, DWORD fdwOpen);
MMRESULT waveOutClose(HWAVEOUT hwo);
MMRESULT waveOutPrepareHeader(HWAVEOUT hwo, WAVEHDR* pwh, UINT cbwh);
MMRESULT waveOutUnprepareHeader(HWAVEOUT hwo, WAVEHDR* pwh, UINT cbwh);
MMRESULT waveOutWrite(HWAVEOUT hwo, WAVEHDR* pwh, UINT cbwh);
MMRESULT waveOutPause(HWAVEOUT hwo);
MMRESULT waveOutRestart(HWAVEOUT hwo);
MMRESULT waveOutReset(HWAVEOUT hwo);
MMRESULT waveOutGetErrorTextA(MMRESULT mmrError, char* pszText, UINT cchText);

// Length of the text buffers the callers use (including the terminating zero).
inline constexpr UINT MAXERRORLENGTH = 256;

}  // namespace platform::wave
