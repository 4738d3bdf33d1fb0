#pragma once
// Opening an ALSA PCM for one wave stream: non-blocking, interleaved, in the
// stream's exact sample format, channel count and rate, with a ring of a few
// hundred milliseconds. Used by the ALSA driver only.
#include "platform/wave/alsa/alsa_error.h"

#include <alsa/asoundlib.h>

#include <string>

namespace platform::wave::alsa {

struct AlsaPcmSetup {
    snd_pcm_uframes_t bufferFrames = 0;  // the device ring
    snd_pcm_uframes_t periodFrames = 0;  // what one wake-up brings (roughly)
    bool canPause = false;               // hardware pause (playback)
};

// Opens and sets up `name`. On success stores the PCM in `pcm` and returns
// an empty failure; otherwise `pcm` stays null and the failure says why
// (WAVERR_BADFORMAT for a format the device refuses).
AlsaFailure openAlsaPcm(Direction direction, const std::string& name, const WAVEFORMATEX& format,
                        snd_pcm_t*& pcm, AlsaPcmSetup& setup);

}  // namespace platform::wave::alsa
