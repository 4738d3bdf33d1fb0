#include "platform/wave/alsa/device_list.h"

#include "platform/wave/alsa/alsa_device_hints.h"

namespace platform::wave::alsa {
namespace {

constexpr const char* kDefault = "default";

void section(std::string& out, const char* title) {
    out += title;
    out += ":\n";
}

void line(std::string& out, const std::string& name, const std::string& description) {
    out += "  ";
    out += name;
    if (name == kDefault) out += "  (default)";
    if (!description.empty()) out += "  - " + description;
    out += '\n';
}

}  // namespace

std::string listDevices() {
    const AlsaDeviceHints hints = alsaDeviceHints();
    std::string out;
    for (const bool capture : {true, false}) {
        section(out, capture ? "Capture devices (--input-device)" : "Playback devices (--output-device)");
        bool hasDefault = false;
        for (const AlsaPcmHint& p : hints.pcms) {
            if (capture ? !p.capture : !p.playback) continue;
            line(out, p.name, p.description);
            hasDefault = hasDefault || p.name == kDefault;
        }
        // ALSA's "default" PCM always exists, even when no hint names it.
        if (!hasDefault) line(out, kDefault, "ALSA's default device");
    }
    section(out, "Mixers (--mixer-device)");
    for (const AlsaMixerHint& m : hints.mixers) line(out, m.name, m.description);
    if (!hints.error.empty()) out += hints.error + "\n";
    return out;
}

}  // namespace platform::wave::alsa
