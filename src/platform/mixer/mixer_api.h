#pragma once
// The mixer calls, with the usual meaning of arguments and results.
// Parameters are checked here, once; the work goes to the current driver
// (driver_registry.h), or, for an open mixer, to the driver it was opened with.
// Every call returns MMSYSERR_NOERROR (0) or a result code of mixer_types.h.
//
// mixerOpen: `dwCallback` is the HWND of a platform::win::MessageWindow when
// `fdwOpen` is CALLBACK_WINDOW (CALLBACK_NULL: no notifications);
// `dwInstance` is unused. While the mixer is open, every change of one of its
// controls or lines is posted to that window as MM_MIXM_CONTROL_CHANGE /
// MM_MIXM_LINE_CHANGE, wParam the handle's value, lParam the identifier.
//
// Line, control and details queries name an open mixer by handle: their flags
// are MIXER_OBJECTF_HMIXER together with the query kind. The kinds offered are
// MIXER_GETLINEINFOF_DESTINATION / _SOURCE, MIXER_GETLINECONTROLSF_ALL and the
// _VALUE details; others give MMSYSERR_NOTSUPPORTED. Every detail is 4 bytes
// (cbDetails 4): MIXERCONTROLDETAILS_SIGNED, _BOOLEAN or _UNSIGNED.
// All calls are made from the UI thread.
#include "platform/mixer/mixer_types.h"

namespace platform::mixer {

UINT mixerGetNumDevs();
MMRESULT mixerGetDevCapsA(UINT uMxId, MIXERCAPSA* pmxcaps, UINT cbmxcaps);
MMRESULT mixerOpen(HMIXER* phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR dwInstance, DWORD fdwOpen);
MMRESULT mixerClose(HMIXER hmx);
MMRESULT mixerGetLineInfoA(HMIXEROBJ hmxobj, MIXERLINEA* pmxl, DWORD fdwInfo);
MMRESULT mixerGetLineControlsA(HMIXEROBJ hmxobj, MIXERLINECONTROLSA* pmxlc, DWORD fdwControls);
MMRESULT mixerGetControlDetailsA(HMIXEROBJ hmxobj, MIXERCONTROLDETAILS* pmxcd, DWORD fdwDetails);
MMRESULT mixerSetControlDetails(HMIXEROBJ hmxobj, MIXERCONTROLDETAILS* pmxcd, DWORD fdwDetails);

}  // namespace platform::mixer
