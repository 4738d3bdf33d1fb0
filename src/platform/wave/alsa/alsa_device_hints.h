#pragma once
// What ALSA knows about the machine's sound devices: the PCMs (from the
// device-name hints) and the cards with their control (mixer) devices.
#include <string>
#include <vector>

namespace platform::wave::alsa {

struct AlsaPcmHint {
    std::string name;         // what to pass as --input-device / --output-device
    std::string description;  // one line
    bool capture = false;
    bool playback = false;
};

struct AlsaMixerHint {
    std::string name;  // what to pass as --mixer-device ("default", "hw:0")
    std::string description;
};

struct AlsaDeviceHints {
    std::vector<AlsaPcmHint> pcms;
    std::vector<AlsaMixerHint> mixers;
    std::string error;  // why the list may be incomplete; empty when fine
};

AlsaDeviceHints alsaDeviceHints();

}  // namespace platform::wave::alsa
