// Opening the mixer: the tree, the slots, device selection and failures.
#include "support/sim_mixer_fixture.h"

#include "mixer/audio_mixer.h"
#include "mixer/mixer_errors.h"
#include "platform/mixer/sim/classic_card.h"

namespace mixer_test {
namespace {

using mixer::TAudioMixer;
using Call = SimMixerDriver::Call;

template <class E>
std::string errorText(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const E& e) {
        return e.what();
    }
    return "(nothing raised)";
}

class AudioMixerOpen : public SimMixerTest {};

TEST_F(AudioMixerOpen, WithoutMixerDeviceRaisesEMixerID) {
    install(std::vector<MixerTopology>{});
    TAudioMixer m;
    EXPECT_EQ(m.MixerCount(), 0u);
    EXPECT_EQ(errorText<mixer::EMixerID>([&] { m.Open(); }), "No mixer device present in this system.");
    EXPECT_FALSE(m.Active());
    EXPECT_EQ(errorText<mixer::EMixerID>([&] { m.SetMixerID(0); }), "MixerID maximum for this machine: -1");

    setDriver(nullptr);  // no driver at all: the same as no device
    TAudioMixer none;
    EXPECT_EQ(errorText<mixer::EMixerID>([&] { none.Open(); }), "No mixer device present in this system.");
}

TEST_F(AudioMixerOpen, PlatformRefusalsRaiseTheirErrors) {
    install({classicCardTopology(), classicCardTopology()});
    TAudioMixer m;
    m.SetMixerID(1);
    sim->injectFault(Call::GetDevCaps, MMSYSERR_ERROR, 1, 1);
    EXPECT_EQ(errorText<mixer::EMixerCaps>([&] { m.Open(); }), "Function mixerGetDevCaps failed. Mixer device ID: 1");
    sim->injectFault(Call::Open, MMSYSERR_ALLOCATED, {}, 1);
    EXPECT_EQ(errorText<mixer::EMixerOpen>([&] { m.Open(); }), "Function mixerOpen failed");
    EXPECT_FALSE(m.Active());
    EXPECT_TRUE(m.Destinations.empty());
    EXPECT_EQ(sim->openCount(), 0);
    EXPECT_EQ(errorText<mixer::EMixerID>([&] { m.SetMixerID(2); }), "MixerID maximum for this machine: 1");
    EXPECT_EQ(m.MixerID(), 1u);
    m.Open();
    EXPECT_TRUE(m.Active());
}

TEST_F(AudioMixerOpen, ClassicCardTreeAndSlots) {
    install(classicCardTopology());
    TAudioMixer m;
    m.Open();
    ASSERT_TRUE(m.Active());
    EXPECT_EQ(m.ProductName(), classicCardProductName());
    ASSERT_EQ(m.DestinationCount(), 2u);
    ASSERT_EQ(m.Destinations.size(), 2u);
    const auto& play = *m.Destinations[0];
    const auto& rec = *m.Destinations[1];
    ASSERT_EQ(play.Sources.size(), 6u);
    ASSERT_EQ(rec.Sources.size(), 4u);

    EXPECT_EQ(m.SpeakersDest, &play);
    EXPECT_EQ(m.RecordDest, &rec);
    EXPECT_EQ(m.VoiceInDest, nullptr);
    EXPECT_EQ(m.WaveOut, play.Sources[0].get());
    EXPECT_EQ(m.SynthPlay, play.Sources[1].get());  // the recording destination's synthesizer takes no slot
    EXPECT_EQ(m.CDPlay, play.Sources[2].get());
    EXPECT_EQ(m.LineInPlay, play.Sources[3].get());
    EXPECT_EQ(m.MicPlay, play.Sources[4].get());
    EXPECT_EQ(m.PCSpeaker, play.Sources[5].get());
    EXPECT_EQ(m.CDRecord, rec.Sources[1].get());
    EXPECT_EQ(m.LineInRecord, rec.Sources[2].get());
    EXPECT_EQ(m.MicRecord, rec.Sources[3].get());
    EXPECT_EQ(m.MicRecord->SourceIndex, 3u);
    EXPECT_EQ(m.LineInPlay->SourceIndex, 0u);

    EXPECT_EQ(play.Name, "Volume Control");
    EXPECT_EQ(play.ShortName, "Volume");
    EXPECT_EQ(play.Channels, 2u);
    EXPECT_EQ(play.VolumeIndex, 0);
    EXPECT_EQ(play.MuteIndex, 1);
    EXPECT_EQ(play.MuxIndex, -1);
    EXPECT_EQ(m.MicPlay->Channels, 1u);
    EXPECT_EQ(m.MicPlay->Controls[0]->Channels, 1u);
    EXPECT_EQ(m.MicPlay->Controls[0]->MixerHandle, m.MixerHandle());
    const mixer::TVolume* wave = m.WaveOut->GetVolume();
    ASSERT_NE(wave, nullptr);
    EXPECT_EQ(wave->Left(), 49152u);
    EXPECT_EQ(wave->Right(), 49152u);
    EXPECT_EQ(wave->Control, m.WaveOut->Controls[0].get());

    EXPECT_EQ(rec.MuxIndex, 0);
    EXPECT_EQ(rec.VolumeIndex, -1);
    EXPECT_EQ(rec.GetVolume(), nullptr);
    const auto& mux = *rec.Controls[0];
    EXPECT_TRUE(mux.Multiple && mux.Uniform && mux.Available);
    ASSERT_EQ(mux.Values.size(), 4u);
    EXPECT_EQ(mux.Values[2]->Index, 2u);
    EXPECT_EQ(mux.Values[2]->Left(), 1u);
    EXPECT_EQ(mux.Values[1]->Left(), 0u);
}

TEST_F(AudioMixerOpen, FirstLineOfAKindTakesTheSlot) {
    // Headphones before speakers; two wave-out sources; a second microphone
    // under the playback destination; two line inputs under the recording one.
    install(topologyOf({
        {line(MIXERLINE_COMPONENTTYPE_DST_HEADPHONES, "Headphones", 2, {volumeControl()}),
         {source(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, "Wave A"), source(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, "Wave B"),
          source(MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, "Mic 1"),
          source(MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, "Mic 2")}},
        {speakers(), {}},
        {line(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, "Record", 2, {}),
         {source(MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, "Mic R"), source(MIXERLINE_COMPONENTTYPE_SRC_LINE, "Line 1"),
          source(MIXERLINE_COMPONENTTYPE_SRC_LINE, "Line 2")}},
    }));
    TAudioMixer m;
    m.Open();
    EXPECT_EQ(m.SpeakersDest, m.Destinations[0].get());
    EXPECT_EQ(m.WaveOut->Name, "Wave A");
    EXPECT_EQ(m.MicPlay->Name, "Mic 1");
    EXPECT_EQ(m.MicRecord->Name, "Mic 2");  // before the recording destination, yet the recording slot
    EXPECT_EQ(m.MicRecord->SourceIndex, 3u);
    EXPECT_EQ(m.Destinations[2]->Sources[0]->SourceIndex, 0u);  // found the slot taken
    EXPECT_EQ(m.LineInPlay, nullptr);
    EXPECT_EQ(m.LineInRecord->Name, "Line 2");  // the last one wins this slot
    EXPECT_EQ(m.LineInRecord->SourceIndex, 2u);
    // A destination without controls still has its sources.
    EXPECT_TRUE(m.RecordDest->Controls.empty());
    EXPECT_EQ(m.RecordDest->VolumeIndex, -1);
}

TEST_F(AudioMixerOpen, VolumeControlIsTheFirstOfNoOtherKind) {
    install(topologyOf({{speakers(),
                         {line(MIXERLINE_COMPONENTTYPE_SRC_LINE, "Mute only", 2, {muteControl()}),
                          line(MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED, "Tone", 2,
                               {control(MIXERCONTROL_CONTROLTYPE_BASS, "Bass"),
                                control(MIXERCONTROL_CONTROLTYPE_TREBLE, "Treble"), muteControl(), volumeControl(7)}),
                          line(MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED, "Meter", 2,
                               {control(MIXERCONTROL_CONTROLTYPE_PEAKMETER, "Peak"), volumeControl()}),
                          line(MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED, "None", 2, {})}}}));
    TAudioMixer m;
    m.Open();
    const auto& sources = m.Destinations[0]->Sources;
    EXPECT_EQ(sources[0]->VolumeIndex, -1);
    EXPECT_EQ(sources[0]->MuteIndex, 0);
    EXPECT_EQ(sources[0]->GetVolume(), nullptr);
    EXPECT_EQ(sources[1]->VolumeIndex, 3);
    EXPECT_EQ(sources[1]->MuteIndex, 2);
    EXPECT_EQ(sources[1]->GetVolume()->Left(), 7u);
    EXPECT_EQ(sources[2]->VolumeIndex, 0);  // a peak meter counts as the volume control
    EXPECT_EQ(sources[3]->GetVolume(), nullptr);
}

TEST_F(AudioMixerOpen, FailedQueriesLeaveLinesAndControlsUnavailable) {
    install(classicCardTopology());
    sim->injectFault(Call::GetLineInfo, MMSYSERR_ERROR, lineId(0, -1));
    sim->injectFault(Call::GetLineControls, MMSYSERR_ERROR, lineId(1, 2));
    sim->injectFault(Call::GetControlDetails, MMSYSERR_ERROR, controlId(1, 3, 0));
    TAudioMixer m;
    m.Open();
    const auto& play = *m.Destinations[0];
    EXPECT_FALSE(play.Available);
    EXPECT_TRUE(play.Sources.empty());
    EXPECT_TRUE(play.Controls.empty());
    EXPECT_EQ(m.SpeakersDest, nullptr);
    EXPECT_EQ(m.WaveOut, nullptr);

    const auto& line = *m.Destinations[1]->Sources[2];
    ASSERT_EQ(line.Controls.size(), 1u);
    EXPECT_FALSE(line.Controls[0]->Available);
    EXPECT_TRUE(line.Controls[0]->Values.empty());
    EXPECT_EQ(line.VolumeIndex, -1);
    EXPECT_EQ(line.GetVolume(), nullptr);

    const auto& mic = *m.Destinations[1]->Sources[3];
    EXPECT_FALSE(mic.Controls[0]->Available);
    ASSERT_NE(mic.GetVolume(), nullptr);
    EXPECT_EQ(mic.GetVolume()->Left(), 0u);  // never read
}

TEST_F(AudioMixerOpen, OpenCloseAndMixerIDRebuildFromScratch) {
    install({classicCardTopology()});
    {
        TAudioMixer m;
        m.Open();
        const platform::mixer::HMIXER first = m.MixerHandle();
        m.Open();  // closes, then builds anew
        EXPECT_NE(m.MixerHandle(), first);
        EXPECT_EQ(sim->openCount(), 1);
        EXPECT_EQ(sim->callCount(Call::Open), 2);
        EXPECT_EQ(m.Destinations.size(), 2u);
        EXPECT_EQ(m.WaveOut, m.Destinations[0]->Sources[0].get());
        EXPECT_EQ(m.MicRecord, m.Destinations[1]->Sources[3].get());

        m.SetMixerID(0);  // the same value still closes
        EXPECT_FALSE(m.Active());
        EXPECT_EQ(sim->openCount(), 0);
        EXPECT_TRUE(m.Destinations.empty());
        EXPECT_EQ(m.WaveOut, nullptr);
        EXPECT_EQ(m.SpeakersDest, nullptr);
        EXPECT_EQ(m.MicRecord, nullptr);
        m.Close();  // closed already: nothing happens
        EXPECT_EQ(sim->callCount(Call::Close), 2);
        m.Open();
    }
    EXPECT_EQ(sim->openCount(), 0);  // destruction closed it
}

}  // namespace
}  // namespace mixer_test
