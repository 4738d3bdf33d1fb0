#include "platform/wave/alsa/alsa_error.h"

#include <alsa/asoundlib.h>

#include <cerrno>

namespace platform::wave::alsa {
namespace {

bool deviceGone(int err) {
    switch (-err) {
        case ENODEV:
        case ENXIO:
        case EIO:
        case EBADFD:
        case ESHUTDOWN:
        case ENOTCONN:
        case ECONNRESET:
        case ECONNREFUSED:
        case EPIPE:
        case ESTRPIPE:
            return true;
        default:
            return false;
    }
}

MMRESULT codeFor(AlsaStep step, int err) {
    if (err == -ENOMEM) return MMSYSERR_NOMEM;
    if (err == -EBUSY || err == -EAGAIN) return MMSYSERR_ALLOCATED;
    if (err == -EPERM || err == -EACCES) return MMSYSERR_NOTENABLED;
    switch (step) {
        case AlsaStep::Open:
            if (err == -ENOENT || err == -ENODEV || err == -ENXIO || err == -EINVAL) return MMSYSERR_BADDEVICEID;
            return deviceGone(err) ? MMSYSERR_NODRIVER : MMSYSERR_ERROR;
        case AlsaStep::Format:
            return deviceGone(err) ? MMSYSERR_NODRIVER : WAVERR_BADFORMAT;
        case AlsaStep::Start:
        case AlsaStep::Transfer:
            return deviceGone(err) ? MMSYSERR_NODRIVER : MMSYSERR_ERROR;
    }
    return MMSYSERR_ERROR;
}

}  // namespace

AlsaFailure alsaFailure(AlsaStep step, Direction direction, std::string_view pcm, int err,
                        std::string_view detail) {
    if (err >= 0) return {};
    const std::string kind = direction == Direction::Input ? "capture" : "playback";
    const std::string device = "ALSA " + kind + " device '" + std::string(pcm) + "'";
    const std::string reason = snd_strerror(err);
    std::string text;
    switch (step) {
        case AlsaStep::Open:
            text = "Cannot open the " + device + ": " + reason;
            break;
        case AlsaStep::Format:
            text = "The " + device + " cannot " + (direction == Direction::Input ? "record " : "play ") +
                   std::string(detail) + ": " + reason;
            break;
        case AlsaStep::Start:
            text = "Cannot start the " + device + ": " + reason;
            break;
        case AlsaStep::Transfer:
            text = "The " + device + " stopped working (" + (detail.empty() ? reason : std::string(detail)) +
                   "); the stream was ended";
            break;
    }
    return {codeFor(step, err), text};
}

}  // namespace platform::wave::alsa
