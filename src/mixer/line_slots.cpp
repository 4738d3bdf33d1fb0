#include "mixer/line_slots.h"

#include "mixer/audio_mixer.h"
#include "platform/mixer/mixer_types.h"

#include <array>

namespace mixer {

using namespace platform::mixer;
using platform::win::DWORD;

namespace {

using SourceSlot = TSource* TAudioMixer::*;
using DestinationSlot = TDestination* TAudioMixer::*;

enum class Rule {
    First,                 // one slot, the first line
    PlaybackOnly,          // playback slot while there is no recording destination yet
    PlayThenRecordFirst,   // playback slot, else recording slot (first line)
    PlayThenRecordLast,    // playback slot, else recording slot (last line)
};

struct SourceRule {
    DWORD componentType;
    Rule rule;
    SourceSlot play;
    SourceSlot record;
};

struct DestinationRule {
    DWORD componentType;
    DestinationSlot slot;
};

constexpr std::array kDestinationRules{
    DestinationRule{MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, &TAudioMixer::SpeakersDest},
    DestinationRule{MIXERLINE_COMPONENTTYPE_DST_HEADPHONES, &TAudioMixer::SpeakersDest},
    DestinationRule{MIXERLINE_COMPONENTTYPE_DST_WAVEIN, &TAudioMixer::RecordDest},
    DestinationRule{MIXERLINE_COMPONENTTYPE_DST_VOICEIN, &TAudioMixer::VoiceInDest},
};

constexpr std::array kSourceRules{
    SourceRule{MIXERLINE_COMPONENTTYPE_SRC_LINE, Rule::PlayThenRecordLast, &TAudioMixer::LineInPlay,
               &TAudioMixer::LineInRecord},
    SourceRule{MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, Rule::PlayThenRecordFirst, &TAudioMixer::MicPlay,
               &TAudioMixer::MicRecord},
    SourceRule{MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER, Rule::PlaybackOnly, &TAudioMixer::SynthPlay, nullptr},
    SourceRule{MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, Rule::PlayThenRecordFirst, &TAudioMixer::CDPlay,
               &TAudioMixer::CDRecord},
    SourceRule{MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE, Rule::PlayThenRecordFirst, &TAudioMixer::PhonePlay,
               &TAudioMixer::PhoneRecord},
    SourceRule{MIXERLINE_COMPONENTTYPE_SRC_PCSPEAKER, Rule::First, &TAudioMixer::PCSpeaker, nullptr},
    SourceRule{MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, Rule::First, &TAudioMixer::WaveOut, nullptr},
    SourceRule{MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY, Rule::PlayThenRecordFirst, &TAudioMixer::AuxPlay,
               &TAudioMixer::AuxRecord},
    SourceRule{MIXERLINE_COMPONENTTYPE_SRC_ANALOG, Rule::PlayThenRecordFirst, &TAudioMixer::AnalogPlay,
               &TAudioMixer::AnalogRecord},
};

void applySourceRule(TAudioMixer& mixer, const SourceRule& r, TSource& line, std::int32_t source) {
    TSource*& play = mixer.*r.play;
    if (play == &line) return;
    switch (r.rule) {
        case Rule::First:
            if (play == nullptr) play = &line;
            return;
        case Rule::PlaybackOnly:
            if (mixer.RecordDest == nullptr && play == nullptr) play = &line;
            return;
        case Rule::PlayThenRecordFirst:
        case Rule::PlayThenRecordLast: {
            if (mixer.RecordDest == nullptr && play == nullptr) {
                play = &line;
                return;
            }
            TSource*& record = mixer.*r.record;
            if (record == nullptr || record == &line || r.rule == Rule::PlayThenRecordLast) {
                record = &line;
                line.SourceIndex = static_cast<DWORD>(source);
            }
            return;
        }
    }
}

}  // namespace

void applySlotRule(TAudioMixer& mixer, TSource& line, DWORD componentType, std::int32_t source) {
    for (const auto& r : kDestinationRules) {
        if (r.componentType != componentType) continue;
        auto* destination = dynamic_cast<TDestination*>(&line);
        if (destination != nullptr && mixer.*r.slot == nullptr) mixer.*r.slot = destination;
        return;
    }
    for (const auto& r : kSourceRules) {
        if (r.componentType == componentType) {
            applySourceRule(mixer, r, line, source);
            return;
        }
    }
}

}  // namespace mixer
