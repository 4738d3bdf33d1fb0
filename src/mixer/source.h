#pragma once
// TSource: one line of a mixer (a source line, and the base of a destination
// line) with its controls. TDestination adds the destination's source lines.
//
// The fields are filled by TAudioMixer from the line's description; users read
// them.
#include "mixer/audio_control.h"
#include "platform/win/win_types.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace mixer {

class TSource {
public:
    TSource() = default;
    virtual ~TSource() = default;
    TSource(const TSource&) = delete;
    TSource& operator=(const TSource&) = delete;

    // The first value item of the volume control (the control at
    // VolumeIndex); none when the line has no volume control.
    TVolume* GetVolume() const;

    bool Available = false;      // the last line query for this line succeeded
    bool Disconnected = false;
    bool Active = false;
    platform::win::DWORD Channels = 0;
    platform::win::DWORD ControlCount = 0;  // as last reported; Controls keeps the count it was built with
    std::string ShortName;
    std::string Name;
    std::vector<std::unique_ptr<TAudioControl>> Controls;
    platform::win::DWORD LineID = 0;
    std::int32_t MuteIndex = -1;    // first MUTE control
    std::int32_t VolumeIndex = -1;  // first control that is none of MUTE, BASS, TREBLE, MUX
    std::int32_t MuxIndex = -1;     // first MUX control
    platform::win::DWORD SourceIndex = 0;  // index within its destination, for a line in a recording slot
};

class TDestination : public TSource {
public:
    platform::win::DWORD SourceCount = 0;  // as last reported; Sources keeps the count it was built with
    std::vector<std::unique_ptr<TSource>> Sources;
};

}  // namespace mixer
