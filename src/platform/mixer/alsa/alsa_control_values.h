#pragma once
// Moving a control's value words to and from the ALSA elements it is bound to
// (alsa_layout.h says how). `words` holds valueChannels x valueItems words of
// the control. A removed element is a null entry of `elements`.
// Both return 0 or ALSA's negative error code (-ENODEV for a removed element).
#include "platform/mixer/alsa/alsa_layout.h"

#include <vector>

struct _snd_mixer_elem;

namespace platform::mixer::alsa {

int readAlsaValues(const std::vector<_snd_mixer_elem*>& elements, const AlsaBinding& binding,
                   std::vector<DWORD>& words);
// For CaptureEnumSelect the first item whose word is not 0 is chosen; the
// caller makes sure there is one.
int writeAlsaValues(const std::vector<_snd_mixer_elem*>& elements, const AlsaBinding& binding,
                    const std::vector<DWORD>& words);

}  // namespace platform::mixer::alsa
