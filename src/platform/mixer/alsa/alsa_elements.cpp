#include "platform/mixer/alsa/alsa_elements.h"

#include <alsa/asoundlib.h>

namespace platform::mixer::alsa {

AlsaElementInfo describeAlsaElement(snd_mixer_elem_t* e) {
    AlsaElementInfo info;
    info.name = snd_mixer_selem_get_name(e);
    info.index = snd_mixer_selem_get_index(e);
    auto& p = info.playback;
    p.volume = snd_mixer_selem_has_playback_volume(e) != 0;
    p.switched = snd_mixer_selem_has_playback_switch(e) != 0;
    p.mono = snd_mixer_selem_is_playback_mono(e) != 0;
    p.volumeJoined = snd_mixer_selem_has_playback_volume_joined(e) != 0;
    p.switchJoined = snd_mixer_selem_has_playback_switch_joined(e) != 0;
    if (p.volume) snd_mixer_selem_get_playback_volume_range(e, &p.volumeMin, &p.volumeMax);
    auto& c = info.capture;
    c.volume = snd_mixer_selem_has_capture_volume(e) != 0;
    c.switched = snd_mixer_selem_has_capture_switch(e) != 0;
    c.mono = snd_mixer_selem_is_capture_mono(e) != 0;
    c.volumeJoined = snd_mixer_selem_has_capture_volume_joined(e) != 0;
    c.switchJoined = snd_mixer_selem_has_capture_switch_joined(e) != 0;
    if (c.volume) snd_mixer_selem_get_capture_volume_range(e, &c.volumeMin, &c.volumeMax);
    info.captureSwitchExclusive = c.switched && snd_mixer_selem_has_capture_switch_exclusive(e) != 0;
    info.enumerated = snd_mixer_selem_is_enumerated(e) != 0;
    info.captureEnum = info.enumerated && snd_mixer_selem_is_enum_capture(e) != 0;
    if (info.captureEnum) {
        const int items = snd_mixer_selem_get_enum_items(e);
        for (int i = 0; i < items; ++i) {
            char text[64] = {};
            if (snd_mixer_selem_get_enum_item_name(e, static_cast<unsigned>(i), sizeof text - 1, text) < 0) break;
            info.enumItems.emplace_back(text);
        }
    }
    return info;
}

std::string alsaProductName(const std::string& device) {
    snd_ctl_t* ctl = nullptr;
    std::string name;
    if (snd_ctl_open(&ctl, device.c_str(), 0) == 0) {
        snd_ctl_card_info_t* info = nullptr;
        if (snd_ctl_card_info_malloc(&info) == 0) {
            if (snd_ctl_card_info(ctl, info) == 0) {
                name = snd_ctl_card_info_get_mixername(info);
                if (name.empty()) name = snd_ctl_card_info_get_name(info);
            }
            snd_ctl_card_info_free(info);
        }
        snd_ctl_close(ctl);
    }
    return name.empty() ? device : name;
}

}  // namespace platform::mixer::alsa
