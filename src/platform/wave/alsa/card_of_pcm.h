#pragma once
// Which sound card an ALSA PCM name leads to, so that two instances of the
// program on one card can find each other whatever name each was given.
#include <string>

namespace platform::wave::alsa {

// "card 1" for hw:1, plughw:CARD=PCH,DEV=0, sysdefault:PCH, front:1 ... (the
// card's index, as ALSA resolves its number or id); for a name that does not
// name a card ("default", "pulse", "pipewire": a sound server, whose clients
// share its default output) the name itself.
std::string cardOfPcm(const std::string& pcm);

}  // namespace platform::wave::alsa
