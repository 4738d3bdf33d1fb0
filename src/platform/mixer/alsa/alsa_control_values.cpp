#include "platform/mixer/alsa/alsa_control_values.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>

namespace platform::mixer::alsa {
namespace {

constexpr snd_mixer_selem_channel_id_t kLeft = SND_MIXER_SCHN_FRONT_LEFT;
constexpr snd_mixer_selem_channel_id_t kRight = SND_MIXER_SCHN_FRONT_RIGHT;

bool isRightChannel(int channel) {
    return channel == SND_MIXER_SCHN_FRONT_RIGHT || channel == SND_MIXER_SCHN_REAR_RIGHT ||
           channel == SND_MIXER_SCHN_SIDE_RIGHT;
}

// One side (playback or capture) of an element, so that volumes and switches
// are read and written the same way on both sides.
struct Side {
    bool capture;

    bool hasChannel(snd_mixer_elem_t* e, snd_mixer_selem_channel_id_t ch) const {
        return (capture ? snd_mixer_selem_has_capture_channel(e, ch)
                        : snd_mixer_selem_has_playback_channel(e, ch)) != 0;
    }
    int range(snd_mixer_elem_t* e, long& min, long& max) const {
        return capture ? snd_mixer_selem_get_capture_volume_range(e, &min, &max)
                       : snd_mixer_selem_get_playback_volume_range(e, &min, &max);
    }
    int volume(snd_mixer_elem_t* e, snd_mixer_selem_channel_id_t ch, long& v) const {
        return capture ? snd_mixer_selem_get_capture_volume(e, ch, &v) : snd_mixer_selem_get_playback_volume(e, ch, &v);
    }
    int setVolume(snd_mixer_elem_t* e, snd_mixer_selem_channel_id_t ch, long v) const {
        return capture ? snd_mixer_selem_set_capture_volume(e, ch, v) : snd_mixer_selem_set_playback_volume(e, ch, v);
    }
    int setVolumeAll(snd_mixer_elem_t* e, long v) const {
        return capture ? snd_mixer_selem_set_capture_volume_all(e, v) : snd_mixer_selem_set_playback_volume_all(e, v);
    }
    int switchOf(snd_mixer_elem_t* e, snd_mixer_selem_channel_id_t ch, int& on) const {
        return capture ? snd_mixer_selem_get_capture_switch(e, ch, &on)
                       : snd_mixer_selem_get_playback_switch(e, ch, &on);
    }
    int setSwitch(snd_mixer_elem_t* e, snd_mixer_selem_channel_id_t ch, int on) const {
        return capture ? snd_mixer_selem_set_capture_switch(e, ch, on) : snd_mixer_selem_set_playback_switch(e, ch, on);
    }
    int setSwitchAll(snd_mixer_elem_t* e, int on) const {
        return capture ? snd_mixer_selem_set_capture_switch_all(e, on) : snd_mixer_selem_set_playback_switch_all(e, on);
    }

    // The ALSA channel read for word `c` of a control of `channels` words.
    snd_mixer_selem_channel_id_t channelFor(snd_mixer_elem_t* e, DWORD c) const {
        return c == 1 && hasChannel(e, kRight) ? kRight : kLeft;
    }

    // Volume words (switch = false) or mute words (switch = true).
    int read(snd_mixer_elem_t* e, bool isSwitch, std::vector<DWORD>& words) const {
        long min = 0, max = 0;
        if (!isSwitch) {
            if (const int err = range(e, min, max); err < 0) return err;
        }
        for (DWORD c = 0; c < words.size(); ++c) {
            const auto ch = channelFor(e, c);
            if (isSwitch) {
                int on = 0;
                if (const int err = switchOf(e, ch, on); err < 0) return err;
                words[c] = on ? 0 : 1;
            } else {
                long v = 0;
                if (const int err = volume(e, ch, v); err < 0) return err;
                words[c] = volumeToWord(v, min, max);
            }
        }
        return 0;
    }

    int write(snd_mixer_elem_t* e, bool isSwitch, const std::vector<DWORD>& words) const {
        long min = 0, max = 0;
        if (!isSwitch) {
            if (const int err = range(e, min, max); err < 0) return err;
        }
        auto value = [&](DWORD word) -> long { return isSwitch ? (word == 0 ? 1 : 0) : wordToVolume(word, min, max); };
        if (words.size() == 1)
            return isSwitch ? setSwitchAll(e, static_cast<int>(value(words[0]))) : setVolumeAll(e, value(words[0]));
        for (int ch = 0; ch <= SND_MIXER_SCHN_LAST; ++ch) {
            const auto id = static_cast<snd_mixer_selem_channel_id_t>(ch);
            if (!hasChannel(e, id)) continue;
            const long v = value(isRightChannel(ch) ? words[1] : words[0]);
            const int err = isSwitch ? setSwitch(e, id, static_cast<int>(v)) : setVolume(e, id, v);
            if (err < 0) return err;
        }
        return 0;
    }
};

bool isCapture(AlsaValueKind kind) {
    return kind == AlsaValueKind::CaptureVolume || kind == AlsaValueKind::CaptureMute;
}
bool isSwitch(AlsaValueKind kind) { return kind == AlsaValueKind::PlaybackMute || kind == AlsaValueKind::CaptureMute; }

}  // namespace

int readAlsaValues(const std::vector<snd_mixer_elem_t*>& elements, const AlsaBinding& b, std::vector<DWORD>& words) {
    switch (b.kind) {
        case AlsaValueKind::PlaybackVolume:
        case AlsaValueKind::PlaybackMute:
        case AlsaValueKind::CaptureVolume:
        case AlsaValueKind::CaptureMute: {
            snd_mixer_elem_t* e = elements.at(b.element);
            if (e == nullptr) return -ENODEV;
            return Side{isCapture(b.kind)}.read(e, isSwitch(b.kind), words);
        }
        case AlsaValueKind::CaptureEnumSelect: {
            snd_mixer_elem_t* e = elements.at(b.element);
            if (e == nullptr) return -ENODEV;
            unsigned chosen = 0;
            if (const int err = snd_mixer_selem_get_enum_item(e, kLeft, &chosen); err < 0) return err;
            for (std::size_t j = 0; j < words.size(); ++j) words[j] = j == chosen ? 1 : 0;
            return 0;
        }
        case AlsaValueKind::CaptureSwitchSelect:
            for (std::size_t j = 0; j < b.elements.size() && j < words.size(); ++j) {
                snd_mixer_elem_t* e = elements.at(b.elements[j]);
                if (e == nullptr) return -ENODEV;
                int on = 0;
                if (const int err = snd_mixer_selem_get_capture_switch(e, kLeft, &on); err < 0) return err;
                words[j] = on ? 1 : 0;
            }
            return 0;
    }
    return -EINVAL;
}

int writeAlsaValues(const std::vector<snd_mixer_elem_t*>& elements, const AlsaBinding& b,
                    const std::vector<DWORD>& words) {
    switch (b.kind) {
        case AlsaValueKind::PlaybackVolume:
        case AlsaValueKind::PlaybackMute:
        case AlsaValueKind::CaptureVolume:
        case AlsaValueKind::CaptureMute: {
            snd_mixer_elem_t* e = elements.at(b.element);
            if (e == nullptr) return -ENODEV;
            return Side{isCapture(b.kind)}.write(e, isSwitch(b.kind), words);
        }
        case AlsaValueKind::CaptureEnumSelect: {
            snd_mixer_elem_t* e = elements.at(b.element);
            if (e == nullptr) return -ENODEV;
            const auto chosen = std::find_if(words.begin(), words.end(), [](DWORD w) { return w != 0; });
            if (chosen == words.end()) return -EINVAL;
            const auto item = static_cast<unsigned>(chosen - words.begin());
            if (const int err = snd_mixer_selem_set_enum_item(e, kLeft, item); err < 0) return err;
            // Further channels, as many as the element has.
            for (int ch = 1; ch <= SND_MIXER_SCHN_LAST; ++ch)
                if (snd_mixer_selem_set_enum_item(e, static_cast<snd_mixer_selem_channel_id_t>(ch), item) < 0) break;
            return 0;
        }
        case AlsaValueKind::CaptureSwitchSelect:
            // Switch off first, so that an exclusive group never has two on.
            for (const bool on : {false, true}) {
                for (std::size_t j = 0; j < b.elements.size() && j < words.size(); ++j) {
                    if ((words[j] != 0) != on) continue;
                    snd_mixer_elem_t* e = elements.at(b.elements[j]);
                    if (e == nullptr) return -ENODEV;
                    if (const int err = snd_mixer_selem_set_capture_switch_all(e, on ? 1 : 0); err < 0) return err;
                }
            }
            return 0;
    }
    return -EINVAL;
}

}  // namespace platform::mixer::alsa
