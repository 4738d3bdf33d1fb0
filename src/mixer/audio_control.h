#pragma once
// TAudioControl: one control of a mixer line (a volume, a mute switch, a
// recording-source list ...) with its value items.
//
// The fields are filled by TAudioMixer from the control's description; users
// read them and change values only through the value items (TVolume).
#include "mixer/volume.h"
#include "platform/mixer/mixer_types.h"

#include <memory>
#include <string>
#include <vector>

namespace mixer {

class TAudioControl {
public:
    TAudioControl(platform::win::DWORD channels, platform::mixer::HMIXER mixerHandle)
        : Channels(channels), MixerHandle(mixerHandle) {}
    TAudioControl(const TAudioControl&) = delete;
    TAudioControl& operator=(const TAudioControl&) = delete;

    // Takes the description; creates the value items (ItemCount for a
    // multiple control, else one).
    void Describe(const platform::mixer::MIXERCONTROLA& record);
    // The description could not be read: not available, no value items.
    void MarkUnavailable();

    // Reads the current values into the value items. `lineChannels` is the
    // owning line's channel count as last read. Does nothing when not
    // Available; a failed read makes the control unavailable for good.
    void ReadValues(platform::win::DWORD lineChannels);

    // Writes every value of the control: item `k` (or none when negative) takes
    // v's words, the other items their stored words, except that in a
    // single-selection list every other item is deselected. Does nothing when
    // not Available; a failed write makes the control unavailable for good.
    void WriteValues(std::int32_t k, const TVolume& v);

    bool Available = false;
    platform::win::DWORD ControlID = 0;
    platform::win::DWORD ControlType = 0;
    bool Disabled = false;
    bool Multiple = false;
    bool Uniform = false;
    platform::win::DWORD ItemCount = 0;
    std::int32_t Minimum = 0;
    std::int32_t Maximum = 0;
    platform::win::DWORD Steps = 0;
    std::string ShortName;
    std::string Name;
    std::vector<std::unique_ptr<TVolume>> Values;
    platform::win::DWORD Channels;                      // the line's channels when the control was made
    platform::mixer::HMIXER MixerHandle;           // the mixer it was made for

private:
    // cChannels of a details request on a line of `channels` channels.
    platform::win::DWORD DetailChannels(platform::win::DWORD channels) const;
};

}  // namespace mixer
