#pragma once
// The one place where ALSA's negative error codes become our result codes and
// the texts the user sees. Every ALSA failure of the driver goes through
// alsaFailure(): the code decides what the wave API returns, the text goes to
// lastDeviceError().
#include "platform/wave/driver.h"

#include <string>
#include <string_view>

namespace platform::wave::alsa {

// What the driver was doing when ALSA failed.
enum class AlsaStep {
    Open,      // snd_pcm_open
    Format,    // hardware/software parameters for the stream's format
    Start,     // starting or resuming the device
    Transfer,  // reading or writing while streaming (the device went away)
};

struct AlsaFailure {
    MMRESULT code = MMSYSERR_NOERROR;
    std::string text;  // empty on success
};

// `err` is ALSA's negative error code; `pcm` the PCM's name; `detail` what
// was asked for (the format, for AlsaStep::Format) or, for
// AlsaStep::Transfer, what happened when ALSA's own text would not say it.
AlsaFailure alsaFailure(AlsaStep step, Direction direction, std::string_view pcm, int err,
                        std::string_view detail = {});

}  // namespace platform::wave::alsa
