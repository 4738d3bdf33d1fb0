// Reading and writing control values through the value items.
#include "support/sim_mixer_fixture.h"

#include "mixer/audio_mixer.h"
#include "mixer/detail_class.h"
#include "platform/mixer/sim/classic_card.h"

namespace mixer_test {
namespace {

using mixer::TAudioMixer;
using Call = SimMixerDriver::Call;
using Words = std::vector<DWORD>;

class ControlValues : public SimMixerTest {};

TEST_F(ControlValues, StereoVolumeWritesBothChannelsEveryTime) {
    install(classicCardTopology());
    TAudioMixer m;
    m.Open();
    mixer::TVolume* v = m.WaveOut->GetVolume();
    v->SetLeft(65535);
    auto w = sim->lastWrite(controlId(0, 0, 0));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->cChannels, 2u);
    EXPECT_EQ(w->cMultipleItems, 0u);
    EXPECT_EQ(w->words, (Words{65535, 49152}));
    v->SetRight(65535);
    EXPECT_EQ(sim->lastWrite(controlId(0, 0, 0))->words, (Words{65535, 65535}));
    EXPECT_EQ(sim->controlValue(controlId(0, 0, 0)), (Words{65535, 65535}));

    // A one-channel line writes one word.
    m.MicPlay->GetVolume()->SetLeft(5);
    EXPECT_EQ(sim->lastWrite(controlId(0, 4, 0))->words, (Words{5}));
}

TEST_F(ControlValues, UniformControlWritesOneWord) {
    install(topologyOf({{speakers({volumeControl(10, MIXERCONTROL_CONTROLF_UNIFORM)}), {}}}));
    TAudioMixer m;
    m.Open();
    mixer::TVolume* v = m.SpeakersDest->GetVolume();
    EXPECT_EQ(v->Right(), 10u);
    v->SetRight(99);  // the right word is not carried
    v->SetLeft(300);
    const auto w = sim->lastWrite(controlId(0, -1, 0));
    EXPECT_EQ(w->cChannels, 1u);
    EXPECT_EQ(w->words, (Words{300}));
}

TEST_F(ControlValues, SingleSelectionListDeselectsTheOtherItems) {
    install(topologyOf({{line(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, "Rec", 2,
                              {listControl(MIXERCONTROL_CONTROLTYPE_MUX, 4, {1, 1, 0, 1}),
                               listControl(MIXERCONTROL_CONTROLTYPE_MIXER, 4, {1, 0, 0, 1})}),
                         {}}}));
    TAudioMixer m;
    m.Open();
    const auto& mux = *m.RecordDest->Controls[0];
    mux.Values[2]->SetLeft(7);
    auto w = sim->lastWrite(mux.ControlID);
    EXPECT_EQ(w->cChannels, 1u);
    EXPECT_EQ(w->cMultipleItems, 4u);
    EXPECT_EQ(w->words, (Words{0, 0, 7, 0}));
    // The stored states of the other items change only with a notification.
    EXPECT_EQ(mux.Values[0]->Left(), 1u);
    deliver();
    EXPECT_EQ(mux.Values[0]->Left(), 0u);
    EXPECT_EQ(mux.Values[2]->Right(), 7u);

    const auto& multi = *m.RecordDest->Controls[1];
    multi.Values[2]->SetLeft(1);
    EXPECT_EQ(sim->lastWrite(multi.ControlID)->words, (Words{1, 0, 1, 1}));
}

TEST_F(ControlValues, FailedWriteOrReadDisablesTheControlUntilOpen) {
    install(classicCardTopology());
    TAudioMixer m;
    m.Open();
    const DWORD id = controlId(0, 0, 0);
    sim->injectFault(Call::SetControlDetails, MMSYSERR_ERROR, id, 1);
    mixer::TVolume* v = m.WaveOut->GetVolume();
    v->SetLeft(1);
    EXPECT_FALSE(v->Control->Available);
    const int writes = sim->callCount(Call::SetControlDetails);
    const int reads = sim->callCount(Call::GetControlDetails);
    v->SetLeft(2);
    v->SetRight(2);
    int events = 0;
    m.OnMixerControlChange = [&](QObject*, DWORD, DWORD, DWORD) { ++events; };
    sim->changeControl(id, {3, 4});
    deliver();
    EXPECT_EQ(sim->callCount(Call::SetControlDetails), writes);
    EXPECT_EQ(sim->callCount(Call::GetControlDetails), reads);
    EXPECT_EQ(events, 1);  // the change is still reported
    EXPECT_EQ(v->Left(), 2u);  // as last set here, never read back

    // A failed read disables in the same way; the values stay.
    const DWORD mute = controlId(0, 0, 1);
    sim->injectFault(Call::GetControlDetails, MMSYSERR_ERROR, mute, 1);
    sim->changeControl(mute, {1});
    deliver();
    EXPECT_FALSE(m.WaveOut->Controls[1]->Available);
    EXPECT_EQ(m.WaveOut->Controls[1]->Values[0]->Left(), 0u);

    m.Open();
    EXPECT_TRUE(m.WaveOut->Controls[0]->Available);
    EXPECT_EQ(m.WaveOut->GetVolume()->Left(), 3u);
    EXPECT_EQ(m.WaveOut->GetVolume()->Right(), 4u);
}

TEST_F(ControlValues, WordsAreKeptAsTheyAre) {
    TopologyControl pan = control(MIXERCONTROL_CONTROLTYPE_PAN, "Pan");
    pan.minimum = -32768;
    pan.maximum = 32767;
    pan.values = {0xFFFFFF9Cu, 100};
    TopologyControl eq = control(MIXERCONTROL_CONTROLTYPE_EQUALIZER, "EQ", MIXERCONTROL_CONTROLF_MULTIPLE);
    eq.items = 3;
    eq.values = {1, 2, 3, 1, 2, 3};
    install(topologyOf({{speakers({pan, eq}), {}},
                        {line(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, "Quad", 4, {volumeControl(8)}), {}}}));
    TAudioMixer m;
    m.Open();
    const auto& p = *m.Destinations[0]->Controls[0];
    EXPECT_EQ(p.Minimum, -32768);
    EXPECT_EQ(p.Values[0]->Left(), 0xFFFFFF9Cu);
    EXPECT_EQ(p.Values[0]->Right(), 100u);

    // A multiple control of a stereo line: each item's word on both channels.
    const auto& e = *m.Destinations[0]->Controls[1];
    e.Values[1]->SetLeft(9);
    EXPECT_EQ(sim->lastWrite(e.ControlID)->words, (Words{1, 9, 3, 1, 9, 3}));

    // A line of four channels: left and right go out in pairs.
    m.Destinations[1]->GetVolume()->SetLeft(20);
    EXPECT_EQ(sim->lastWrite(controlId(1, -1, 0))->words, (Words{20, 8, 20, 8}));
}

TEST(DetailClass, FollowsTheControlType) {
    using mixer::DetailClass;
    using mixer::detailClassOf;
    EXPECT_EQ(detailClassOf(MIXERCONTROL_CONTROLTYPE_SIGNEDMETER), DetailClass::Signed);
    EXPECT_EQ(detailClassOf(MIXERCONTROL_CONTROLTYPE_SIGNED), DetailClass::Signed);
    EXPECT_EQ(detailClassOf(MIXERCONTROL_CONTROLTYPE_PAN), DetailClass::Signed);
    EXPECT_EQ(detailClassOf(MIXERCONTROL_CONTROLTYPE_QSOUNDPAN), DetailClass::Signed);
    EXPECT_EQ(detailClassOf(MIXERCONTROL_CONTROLTYPE_MUX), DetailClass::Boolean);
    EXPECT_EQ(detailClassOf(MIXERCONTROL_CONTROLTYPE_MIXER), DetailClass::Boolean);
    EXPECT_EQ(detailClassOf(MIXERCONTROL_CONTROLTYPE_BOOLEANMETER), DetailClass::Boolean);
    EXPECT_EQ(detailClassOf(MIXERCONTROL_CONTROLTYPE_MUTE), DetailClass::Boolean);
    EXPECT_EQ(detailClassOf(MIXERCONTROL_CONTROLTYPE_BUTTON), DetailClass::Boolean);
    EXPECT_EQ(detailClassOf(MIXERCONTROL_CONTROLTYPE_VOLUME), DetailClass::Unsigned);
    EXPECT_EQ(detailClassOf(MIXERCONTROL_CONTROLTYPE_PEAKMETER), DetailClass::Unsigned);
    EXPECT_EQ(detailClassOf(MIXERCONTROL_CONTROLTYPE_UNSIGNED), DetailClass::Unsigned);
    EXPECT_EQ(detailClassOf(MIXERCONTROL_CONTROLTYPE_MILLITIME), DetailClass::Unsigned);
    EXPECT_EQ(detailClassOf(MIXERCONTROL_CONTROLTYPE_CUSTOM), DetailClass::Unsigned);
    EXPECT_TRUE(mixer::isSingleSelect(MIXERCONTROL_CONTROLTYPE_SINGLESELECT));
    EXPECT_FALSE(mixer::isSingleSelect(MIXERCONTROL_CONTROLTYPE_MULTIPLESELECT));
}

}  // namespace
}  // namespace mixer_test
