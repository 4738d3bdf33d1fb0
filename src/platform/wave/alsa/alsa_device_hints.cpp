#include "platform/wave/alsa/alsa_device_hints.h"

#include "platform/alsa/alsa_library_messages.h"

#include <alsa/asoundlib.h>

#include <cstdlib>
#include <memory>

namespace platform::wave::alsa {
namespace {

// A hint field as a string (ALSA hands out malloc'ed text).
std::string hintField(const void* hint, const char* id) {
    char* value = snd_device_name_get_hint(hint, id);
    if (value == nullptr) return {};
    std::string s(value);
    std::free(value);
    return s;
}

std::string oneLine(std::string s) {
    for (char& c : s)
        if (c == '\n') c = ' ';
    return s;
}

}  // namespace

AlsaDeviceHints alsaDeviceHints() {
    platform::alsa::quietAlsaLibrary();
    AlsaDeviceHints out;
    void** hints = nullptr;
    if (const int e = snd_device_name_hint(-1, "pcm", &hints); e < 0) {
        out.error = std::string("Cannot list the ALSA PCMs: ") + snd_strerror(e);
    } else {
        for (void** h = hints; *h != nullptr; ++h) {
            AlsaPcmHint pcm;
            pcm.name = hintField(*h, "NAME");
            if (pcm.name.empty() || pcm.name == "null") continue;
            pcm.description = oneLine(hintField(*h, "DESC"));
            const std::string io = hintField(*h, "IOID");  // empty: both directions
            pcm.capture = io.empty() || io == "Input";
            pcm.playback = io.empty() || io == "Output";
            out.pcms.push_back(std::move(pcm));
        }
        snd_device_name_free_hint(hints);
    }

    out.mixers.push_back({"default", "the default mixer"});
    int card = -1;
    while (snd_card_next(&card) >= 0 && card >= 0) {
        const std::string name = "hw:" + std::to_string(card);
        std::string description;
        char* longName = nullptr;
        if (snd_card_get_longname(card, &longName) >= 0 && longName != nullptr) {
            description = longName;
            std::free(longName);
        }
        out.mixers.push_back({name, description});
    }
    return out;
}

}  // namespace platform::wave::alsa
