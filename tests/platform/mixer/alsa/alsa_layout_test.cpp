// How ALSA simple-mixer elements map onto destinations, sources and controls.
#include "platform/mixer/alsa/alsa_layout.h"

#include <gtest/gtest.h>

namespace mixer_test {
namespace {

using namespace platform::mixer;


using namespace platform::mixer::alsa;
using platform::win::DWORD;

AlsaElementInfo element(std::string name, bool pvol, bool psw, bool cvol = false, bool csw = false) {
    AlsaElementInfo e;
    e.name = std::move(name);
    e.playback.volume = pvol;
    e.playback.switched = psw;
    e.playback.switchJoined = true;
    e.playback.volumeMax = pvol ? 31 : 0;
    e.capture.volume = cvol;
    e.capture.switched = csw;
    e.capture.volumeMax = cvol ? 63 : 0;
    return e;
}

std::vector<DWORD> types(const TopologyLine& line) {
    std::vector<DWORD> out;
    for (const auto& c : line.controls) out.push_back(c.type);
    return out;
}

TEST(AlsaLayout, SoundServerControlsGiveTwoDestinationsWithoutSources) {
    const AlsaLayout layout =
        buildAlsaLayout({element("Master", true, true), element("Capture", false, false, true, true)}, "PulseAudio");
    const auto& t = layout.topology;
    EXPECT_EQ(t.productName, "PulseAudio");
    ASSERT_EQ(t.destinations.size(), 2u);
    const auto& speakers = t.destinations[0];
    EXPECT_EQ(speakers.line.componentType, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
    EXPECT_EQ(speakers.line.name, "Master");
    EXPECT_EQ(types(speakers.line),
              (std::vector<DWORD>{MIXERCONTROL_CONTROLTYPE_VOLUME, MIXERCONTROL_CONTROLTYPE_MUTE}));
    EXPECT_EQ(speakers.line.controls[1].flags, MIXERCONTROL_CONTROLF_UNIFORM);  // joined switch
    EXPECT_TRUE(speakers.sources.empty());
    const auto& recording = t.destinations[1];
    EXPECT_EQ(recording.line.componentType, MIXERLINE_COMPONENTTYPE_DST_WAVEIN);
    EXPECT_EQ(types(recording.line), (std::vector<DWORD>{MIXERCONTROL_CONTROLTYPE_VOLUME, MIXERCONTROL_CONTROLTYPE_MUTE}));
    EXPECT_TRUE(recording.sources.empty());

    ASSERT_EQ(layout.bindings.size(), 4u);
    const AlsaBinding* b = layout.binding(recording.line.controls[0].id);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->kind, AlsaValueKind::CaptureVolume);
    EXPECT_EQ(b->element, 1u);
    EXPECT_EQ(b->where.destination, 1u);
    EXPECT_EQ(b->where.source, -1);
    EXPECT_NE(speakers.line.id, recording.line.id);
}

TEST(AlsaLayout, SourcesByNameAndCaptureSelection) {
    AlsaElementInfo mic = element("Mic", true, true, true, false);
    mic.playback.mono = true;
    AlsaElementInfo selector = element("Input Source", false, false);
    selector.enumerated = true;
    selector.captureEnum = true;
    selector.enumItems = {"Front Mic", "Line", "CD"};
    AlsaElementInfo mode = element("Auto-Mute Mode", false, false);
    mode.enumerated = true;
    const AlsaLayout layout = buildAlsaLayout(
        {element("PCM", true, false), mic, element("Line", true, true, true, false), element("CD", true, true),
         element("Beep", true, true), element("Headphone", true, true), element("Capture", false, false, true, true),
         selector, mode, element("Front Mic", false, false, true, false), element("Aux", false, false, true, false)},
        "HDA");
    const auto& t = layout.topology;
    ASSERT_EQ(t.destinations.size(), 2u);
    const auto& play = t.destinations[0];
    // Without "Master" the first element with a playback volume is the destination itself.
    EXPECT_EQ(play.line.name, "PCM");
    ASSERT_EQ(play.sources.size(), 5u);
    EXPECT_EQ(types(play.line), (std::vector<DWORD>{MIXERCONTROL_CONTROLTYPE_VOLUME}));
    EXPECT_EQ(play.sources[0].name, "Mic");
    EXPECT_EQ(play.sources[0].componentType, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE);
    EXPECT_EQ(play.sources[0].channels, 1u);
    EXPECT_EQ(play.sources[1].componentType, MIXERLINE_COMPONENTTYPE_SRC_LINE);
    EXPECT_EQ(play.sources[2].componentType, MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC);
    EXPECT_EQ(play.sources[3].componentType, MIXERLINE_COMPONENTTYPE_SRC_PCSPEAKER);
    EXPECT_EQ(play.sources[4].componentType, MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED);

    const auto& rec = t.destinations[1];
    ASSERT_EQ(rec.line.controls.size(), 3u);
    const auto& mux = rec.line.controls[2];
    EXPECT_EQ(mux.type, MIXERCONTROL_CONTROLTYPE_MUX);
    EXPECT_EQ(mux.items, 3u);
    EXPECT_EQ(layout.binding(mux.id)->kind, AlsaValueKind::CaptureEnumSelect);
    EXPECT_EQ(layout.binding(mux.id)->element, 7u);
    // One source per item, with the capture volume of the element of that name;
    // then the capture elements no item names.
    ASSERT_EQ(rec.sources.size(), 5u);
    EXPECT_EQ(rec.sources[0].name, "Front Mic");
    EXPECT_EQ(rec.sources[0].componentType, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE);
    ASSERT_EQ(rec.sources[0].controls.size(), 1u);
    EXPECT_EQ(layout.binding(rec.sources[0].controls[0].id)->element, 9u);
    EXPECT_EQ(layout.binding(rec.sources[1].controls[0].id)->element, 2u);  // "Line"
    EXPECT_TRUE(rec.sources[2].controls.empty());                         // "CD" has no capture volume
    EXPECT_EQ(rec.sources[3].name, "Mic");
    EXPECT_EQ(rec.sources[4].componentType, MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY);
}

TEST(AlsaLayout, CaptureSwitchesBecomeAListControl) {
    AlsaElementInfo line = element("Line", false, false, true, true);
    AlsaElementInfo mic = element("Mic", false, false, false, true);
    AlsaElementInfo cd = element("CD", false, false, true, false);
    for (bool exclusive : {true, false}) {
        line.captureSwitchExclusive = mic.captureSwitchExclusive = exclusive;
        const AlsaLayout layout = buildAlsaLayout({line, cd, mic}, "AC97");
        ASSERT_EQ(layout.topology.destinations.size(), 1u);
        const auto& rec = layout.topology.destinations[0];
        EXPECT_EQ(rec.sources.size(), 3u);
        ASSERT_EQ(rec.line.controls.size(), 1u);
        const auto& list = rec.line.controls[0];
        EXPECT_EQ(list.type, exclusive ? MIXERCONTROL_CONTROLTYPE_MUX : MIXERCONTROL_CONTROLTYPE_MIXER);
        EXPECT_EQ(list.items, 2u);
        EXPECT_EQ(layout.binding(list.id)->elements, (std::vector<std::size_t>{0, 2}));
        EXPECT_TRUE(AlsaLayout::uses(*layout.binding(list.id), 2));
        EXPECT_FALSE(AlsaLayout::uses(*layout.binding(list.id), 1));
    }
    EXPECT_TRUE(buildAlsaLayout({}, "none").topology.destinations.empty());
}

TEST(AlsaLayout, VolumesScaleOntoTheFullWord) {
    EXPECT_EQ(volumeToWord(0, 0, 65536), 0u);
    EXPECT_EQ(volumeToWord(65536, 0, 65536), 65535u);
    EXPECT_EQ(wordToVolume(65535, 0, 65536), 65536);
    EXPECT_EQ(wordToVolume(0, 0, 65536), 0);
    EXPECT_EQ(volumeToWord(-10, -20, 0), 32768u);
    EXPECT_EQ(wordToVolume(70000, -20, 0), 0);  // above full scale counts as full
    EXPECT_EQ(volumeToWord(99, 0, 31), 65535u);  // outside the range counts as its end
    for (long v = 0; v <= 31; ++v) EXPECT_EQ(wordToVolume(volumeToWord(v, 0, 31), 0, 31), v);
    EXPECT_EQ(volumeToWord(5, 5, 5), 0u);
    EXPECT_EQ(volumeToWord(1L << 50, 0, 1L << 51), 32768u);
}

}  // namespace
}  // namespace mixer_test
