#include "mixer/audio_control.h"

#include "mixer/detail_class.h"
#include "platform/mixer/mixer_api.h"

#include <algorithm>
#include <cstring>

namespace mixer {

using namespace platform::mixer;
using platform::win::DWORD;

namespace {

// Every detail of this program is one 32-bit word (signed, boolean and
// unsigned details share that layout), so one word buffer serves all three.
struct DetailRequest {
    std::vector<DWORD> words;
    MIXERCONTROLDETAILS record;

    DetailRequest(DWORD controlId, DWORD channels, DWORD items) {
        words.assign(static_cast<std::size_t>(std::max<DWORD>(channels, 1)) * std::max<DWORD>(items, 1), 0);
        record.cbStruct = sizeof(MIXERCONTROLDETAILS);
        record.dwControlID = controlId;
        record.cChannels = channels;
        record.cMultipleItems = items;
        record.cbDetails = sizeof(DWORD);
        record.paDetails = words.data();
    }
};

std::string fixedText(const char* text, std::size_t size) { return std::string(text, strnlen(text, size)); }

}  // namespace

void TAudioControl::Describe(const MIXERCONTROLA& record) {
    Available = true;
    ControlID = record.dwControlID;
    ControlType = record.dwControlType;
    Disabled = (record.fdwControl & MIXERCONTROL_CONTROLF_DISABLED) != 0;
    Multiple = (record.fdwControl & MIXERCONTROL_CONTROLF_MULTIPLE) != 0;
    Uniform = (record.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM) != 0;
    ItemCount = record.cMultipleItems;
    // A multiple control reporting no items has no value items (nothing to set).
    Values.clear();
    const DWORD items = Multiple ? ItemCount : 1;
    for (DWORD j = 0; j < items; ++j) Values.push_back(std::make_unique<TVolume>(this, j));
    Minimum = record.Bounds.lMinimum;
    Maximum = record.Bounds.lMaximum;
    ShortName = fixedText(record.szShortName, sizeof record.szShortName);
    Name = fixedText(record.szName, sizeof record.szName);
    Steps = record.Metrics.cSteps;
}

void TAudioControl::MarkUnavailable() {
    Available = false;
    Values.clear();
}

DWORD TAudioControl::DetailChannels(DWORD channels) const {
    if (Uniform) return 1;
    if (ControlType == MIXERCONTROL_CONTROLTYPE_CUSTOM) return 0;
    return channels;
}

void TAudioControl::ReadValues(DWORD lineChannels) {
    if (!Available) return;
    const DWORD channels = DetailChannels(lineChannels);
    DetailRequest request(ControlID, channels, ItemCount);
    if (mixerGetControlDetailsA(MixerHandle, &request.record,
                                MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) != MMSYSERR_NOERROR) {
        Available = false;
        return;
    }
    const auto& w = request.words;
    if (!Multiple) {
        if (Values.empty()) return;
        Values[0]->left_ = w[0];
        Values[0]->right_ = channels >= 2 ? w[1] : w[0];
        return;
    }
    // The first channel's words, one per item.
    const std::size_t items = std::min<std::size_t>(ItemCount, Values.size());
    for (std::size_t j = 0; j < items; ++j) {
        Values[j]->left_ = w[j];
        Values[j]->right_ = w[j];
    }
}

void TAudioControl::WriteValues(std::int32_t k, const TVolume& v) {
    if (!Available) return;
    const DWORD channels = DetailChannels(Channels);
    DetailRequest request(ControlID, channels, ItemCount);
    auto& w = request.words;
    const std::size_t perChannel = std::max<DWORD>(ItemCount, 1);
    if (!Multiple) {
        // Left, Right, and for lines of more channels the pair again.
        for (std::size_t c = 0; c < w.size(); ++c) w[c] = c % 2 == 0 ? v.left_ : v.right_;
    } else {
        const bool single = isSingleSelect(ControlType);
        for (std::size_t j = 0; j < ItemCount; ++j) {
            DWORD word = 0;
            if (k >= 0 && j == static_cast<std::size_t>(k))
                word = v.left_;
            else if (single)
                word = 0;
            else if (j < Values.size())
                word = Values[j]->left_;
            // Every channel carries the item's one stored word.
            for (std::size_t c = 0; c * perChannel + j < w.size(); ++c) w[c * perChannel + j] = word;
        }
    }
    if (mixerSetControlDetails(MixerHandle, &request.record, MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE) !=
        MMSYSERR_NOERROR)
        Available = false;
}

}  // namespace mixer
