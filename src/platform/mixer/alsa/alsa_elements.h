#pragma once
// What ALSA says about a card: its simple-mixer elements as AlsaElementInfo
// (alsa_layout.h) and its name.
#include "platform/mixer/alsa/alsa_layout.h"

#include <string>

struct _snd_mixer_elem;

namespace platform::mixer::alsa {

AlsaElementInfo describeAlsaElement(_snd_mixer_elem* element);

// The mixer name of control device `device` (or its card name); the device
// name itself when ALSA tells neither.
std::string alsaProductName(const std::string& device);

}  // namespace platform::mixer::alsa
