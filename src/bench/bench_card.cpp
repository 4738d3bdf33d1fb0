#include "bench/bench_card.h"

#include "platform/mixer/sim/classic_card.h"

#include <algorithm>
#include <optional>

namespace bench {
namespace {

namespace mix = platform::mixer;

const mix::TopologyLine* findLine(const mix::MixerTopology& t, platform::win::DWORD destinationType,
                                  std::optional<platform::win::DWORD> sourceType) {
    for (const auto& d : t.destinations) {
        if (d.line.componentType != destinationType) continue;
        if (!sourceType) return &d.line;
        for (const auto& s : d.sources)
            if (s.componentType == *sourceType) return &s;
    }
    return nullptr;
}

const mix::TopologyControl* findControl(const mix::TopologyLine* line, platform::win::DWORD type) {
    if (line == nullptr) return nullptr;
    for (const auto& c : line->controls)
        if (c.type == type) return &c;
    return nullptr;
}

// A volume as a fraction of full scale (the mean of its channels); full when
// there is no such control.
double volumeOf(const mix::sim::SimMixerDriver& mixer, const mix::TopologyControl* volume) {
    if (volume == nullptr) return 1.0;
    const auto words = mixer.controlValue(volume->id);
    if (words.empty()) return 0.0;
    double sum = 0;
    for (auto w : words) sum += w;
    const double range = std::max<double>(1.0, static_cast<double>(volume->maximum) - volume->minimum);
    return std::clamp((sum / static_cast<double>(words.size()) - volume->minimum) / range, 0.0, 1.0);
}

bool muted(const mix::sim::SimMixerDriver& mixer, const mix::TopologyControl* mute) {
    if (mute == nullptr) return false;
    const auto words = mixer.controlValue(mute->id);
    return !words.empty() && words.front() != 0;
}

}  // namespace

BenchCard makeBenchCard() {
    mix::MixerTopology topology = mix::sim::classicCardTopology();
    for (auto& d : topology.destinations) {
        if (d.line.componentType != mix::MIXERLINE_COMPONENTTYPE_DST_WAVEIN) continue;
        for (auto& s : d.sources)
            if (s.componentType == mix::MIXERLINE_COMPONENTTYPE_SRC_LINE)
                for (auto& c : s.controls)
                    if (c.type == mix::MIXERCONTROL_CONTROLTYPE_VOLUME)
                        std::fill(c.values.begin(), c.values.end(), 65535);
    }
    BenchCard card;
    card.mixer = std::make_shared<mix::sim::SimMixerDriver>(std::vector<mix::MixerTopology>{topology});
    const mix::sim::SimMixerDriver* m = card.mixer.get();
    const mix::MixerTopology& t = m->topology();

    const auto* speakers = findLine(t, mix::MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, std::nullopt);
    const auto* wave = findLine(t, mix::MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, mix::MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT);
    const auto* speakersVolume = findControl(speakers, mix::MIXERCONTROL_CONTROLTYPE_VOLUME);
    const auto* speakersMute = findControl(speakers, mix::MIXERCONTROL_CONTROLTYPE_MUTE);
    const auto* waveVolume = findControl(wave, mix::MIXERCONTROL_CONTROLTYPE_VOLUME);
    const auto* waveMute = findControl(wave, mix::MIXERCONTROL_CONTROLTYPE_MUTE);
    card.outputGain = [m, speakersVolume, speakersMute, waveVolume, waveMute] {
        if (muted(*m, speakersMute) || muted(*m, waveMute)) return 0.0;
        return volumeOf(*m, speakersVolume) * volumeOf(*m, waveVolume);
    };

    const auto* recording = findLine(t, mix::MIXERLINE_COMPONENTTYPE_DST_WAVEIN, std::nullopt);
    const auto* mux = findControl(recording, mix::MIXERCONTROL_CONTROLTYPE_MUX);
    int lineItem = -1;  // the MUX item of Line In: sources are its items, in order
    if (recording != nullptr) {
        for (const auto& d : t.destinations) {
            if (&d.line != recording) continue;
            for (std::size_t s = 0; s < d.sources.size(); ++s)
                if (d.sources[s].componentType == mix::MIXERLINE_COMPONENTTYPE_SRC_LINE) lineItem = static_cast<int>(s);
        }
    }
    const auto* lineIn = findLine(t, mix::MIXERLINE_COMPONENTTYPE_DST_WAVEIN, mix::MIXERLINE_COMPONENTTYPE_SRC_LINE);
    const auto* lineInVolume = findControl(lineIn, mix::MIXERCONTROL_CONTROLTYPE_VOLUME);
    card.recordingGain = [m, mux, lineItem, lineInVolume] {
        if (mux != nullptr && lineItem >= 0) {
            const auto items = m->controlValue(mux->id);
            if (static_cast<std::size_t>(lineItem) < items.size() && items[lineItem] == 0) return 0.0;
        }
        return volumeOf(*m, lineInVolume);
    };
    return card;
}

}  // namespace bench
