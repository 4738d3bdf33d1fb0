#include "platform/wave/result_codes.h"

#include <array>
#include <utility>

namespace platform::wave {
namespace {

constexpr std::array<std::pair<MMRESULT, std::string_view>, 18> kTexts{{
    {MMSYSERR_NOERROR, "The operation completed successfully."},
    {MMSYSERR_ERROR, "An unspecified error occurred in the audio device."},
    {MMSYSERR_BADDEVICEID, "The audio device identifier is out of range."},
    {MMSYSERR_NOTENABLED, "The audio driver could not be enabled."},
    {MMSYSERR_ALLOCATED, "The audio device is already in use by another stream."},
    {MMSYSERR_INVALHANDLE, "The audio device handle is not valid (the device may be closed)."},
    {MMSYSERR_NODRIVER, "No audio driver is selected or no audio device is present."},
    {MMSYSERR_NOMEM, "The audio driver could not allocate enough memory."},
    {MMSYSERR_NOTSUPPORTED, "The audio device does not support this operation."},
    {MMSYSERR_BADERRNUM, "The error number is not a known audio result code."},
    {MMSYSERR_INVALFLAG, "An invalid flag was passed to the audio device."},
    {MMSYSERR_INVALPARAM, "An invalid parameter was passed to the audio device."},
    {MMSYSERR_HANDLEBUSY, "The audio device handle is busy in another thread."},
    {MMSYSERR_NODRIVERCB, "The audio driver did not call back as required."},
    {WAVERR_BADFORMAT, "The audio device does not support the requested wave format."},
    {WAVERR_STILLPLAYING, "The audio device still holds buffers that have not been returned."},
    {WAVERR_UNPREPARED, "The wave header has not been prepared for this device."},
    {WAVERR_SYNC, "The audio device is synchronous and cannot be opened without WAVE_ALLOWSYNC."},
}};

}  // namespace

std::string_view resultText(MMRESULT code) {
    for (const auto& [c, text] : kTexts)
        if (c == code) return text;
    return {};
}

}  // namespace platform::wave
