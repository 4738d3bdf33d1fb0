#pragma once
// The text of --list-devices: the capture and playback PCMs and the mixers
// that ALSA knows, with the devices the program uses by default marked.
#include <string>

namespace platform::wave::alsa {

std::string listDevices();

}  // namespace platform::wave::alsa
