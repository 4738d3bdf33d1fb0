#include "mixer/mixer_man.h"

#include "mixer/audio_mixer.h"
#include "platform/mixer/mixer_types.h"

namespace mixer {

using namespace platform::mixer;
using platform::win::DWORD;

namespace {

constexpr DWORD kDestinationItself = 0xFFFFFFFFu;

bool searchable(const TSource* line) { return line != nullptr && line->Available && !line->Controls.empty(); }

// The index of the control with this identifier among the line's controls, or -1.
std::int32_t controlIndex(const TSource& line, DWORD controlId) {
    for (std::size_t c = 0; c < line.Controls.size(); ++c)
        if (line.Controls[c]->ControlID == controlId) return static_cast<std::int32_t>(c);
    return -1;
}

}  // namespace

void TMixerMan::WndProc(const platform::win::Message& message) {
    if (message.msg != MM_MIXM_CONTROL_CHANGE && message.msg != MM_MIXM_LINE_CHANGE) return;
    if (!mixer_.Active() || message.wParam != static_cast<platform::win::WPARAM>(mixer_.MixerHandle())) return;
    const auto id = static_cast<DWORD>(message.lParam);
    if (message.msg == MM_MIXM_CONTROL_CHANGE)
        ControlChange(id);
    else
        LineChange(id);
}

void TMixerMan::ControlChange(DWORD controlId) {
    const auto& destinations = mixer_.Destinations;
    // Sources first, destination by destination, source by source.
    for (std::size_t d = 0; d < destinations.size(); ++d) {
        const auto& sources = destinations[d]->Sources;
        for (std::size_t s = 0; s < sources.size(); ++s) {
            if (!searchable(sources[s].get())) continue;
            const std::int32_t c = controlIndex(*sources[s], controlId);
            if (c < 0) continue;
            mixer_.ReadControlValues(static_cast<DWORD>(d), static_cast<std::int32_t>(s), static_cast<DWORD>(c));
            mixer_.FireControlChange(static_cast<DWORD>(d), static_cast<DWORD>(s), static_cast<DWORD>(c));
            return;
        }
    }
    // Then the destinations' own controls.
    for (std::size_t d = 0; d < destinations.size(); ++d) {
        if (!searchable(destinations[d].get())) continue;
        const std::int32_t c = controlIndex(*destinations[d], controlId);
        if (c < 0) continue;
        mixer_.ReadControlValues(static_cast<DWORD>(d), -1, static_cast<DWORD>(c));
        mixer_.FireControlChange(static_cast<DWORD>(d), kDestinationItself, static_cast<DWORD>(c));
        return;
    }
}

void TMixerMan::LineChange(DWORD lineId) {
    const auto& destinations = mixer_.Destinations;
    for (std::size_t d = 0; d < destinations.size(); ++d) {
        if (destinations[d]->LineID != lineId) continue;
        mixer_.ReadLineInfo(static_cast<DWORD>(d), -1);
        mixer_.FireLineChange(static_cast<DWORD>(d), kDestinationItself);
        return;
    }
    for (std::size_t d = 0; d < destinations.size(); ++d) {
        const auto& sources = destinations[d]->Sources;
        for (std::size_t s = 0; s < sources.size(); ++s) {
            if (sources[s]->LineID != lineId) continue;
            mixer_.ReadLineInfo(static_cast<DWORD>(d), static_cast<std::int32_t>(s));
            mixer_.FireLineChange(static_cast<DWORD>(d), static_cast<DWORD>(s));
            return;
        }
    }
}

}  // namespace mixer
