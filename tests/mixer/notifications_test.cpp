// Change notifications: which line or control is refreshed and reported.
#include "support/sim_mixer_fixture.h"

#include "mixer/audio_mixer.h"
#include "platform/mixer/sim/classic_card.h"
#include "platform/win/message_window.h"

#include <tuple>

namespace mixer_test {
namespace {

using mixer::TAudioMixer;
using Call = SimMixerDriver::Call;
using Event = std::tuple<DWORD, DWORD, DWORD>;

class Notifications : public SimMixerTest {
protected:
    void listen(TAudioMixer& m) {
        m.OnMixerControlChange = [this, &m](QObject* sender, DWORD d, DWORD s, DWORD c) {
            EXPECT_EQ(sender, &m);
            controlEvents.emplace_back(d, s, c);
        };
        m.OnMixerLineChange = [this](QObject*, DWORD d, DWORD s) { lineEvents.emplace_back(d, s, 0); };
    }
    std::vector<Event> controlEvents;
    std::vector<Event> lineEvents;
};

TEST_F(Notifications, ControlChangeRefreshesBeforeTheEvent) {
    install(classicCardTopology());
    TAudioMixer m;
    m.Open();
    DWORD seenLeft = 0;
    m.OnMixerControlChange = [&](QObject*, DWORD d, DWORD s, DWORD c) {
        controlEvents.emplace_back(d, s, c);
        seenLeft = m.Destinations[d]->Sources[s]->Controls[c]->Values[0]->Left();
    };
    sim->changeControl(controlId(0, 2, 0), {100, 200});
    sim->changeControl(controlId(0, 4, 0), {300});  // the one-channel microphone
    deliver();
    EXPECT_EQ(controlEvents, (std::vector<Event>{{0, 2, 0}, {0, 4, 0}}));
    EXPECT_EQ(m.CDPlay->GetVolume()->Left(), 100u);
    EXPECT_EQ(m.CDPlay->GetVolume()->Right(), 200u);
    EXPECT_EQ(m.MicPlay->GetVolume()->Left(), 300u);
    EXPECT_EQ(m.MicPlay->GetVolume()->Right(), 300u);
    EXPECT_EQ(seenLeft, 300u);

    // A destination's own control: S arrives as 0xFFFFFFFF.
    controlEvents.clear();
    listen(m);
    sim->changeControl(controlId(1, -1, 0), {1, 0, 0, 0});
    deliver();
    EXPECT_EQ(controlEvents, (std::vector<Event>{{1, 0xFFFFFFFFu, 0}}));
    EXPECT_EQ(m.RecordDest->Controls[0]->Values[0]->Left(), 1u);
}

TEST_F(Notifications, ForeignLateOrUnknownNotificationsChangeNothing) {
    install({classicCardTopology(), classicCardTopology()});
    TAudioMixer m;
    TAudioMixer other;
    other.SetMixerID(1);
    m.Open();
    other.Open();
    listen(m);
    const int reads = sim->callCount(Call::GetControlDetails);
    const platform::win::HWND window = m.NotificationWindow();
    const auto own = static_cast<platform::win::WPARAM>(m.MixerHandle());
    const auto foreign = static_cast<platform::win::WPARAM>(other.MixerHandle());
    const DWORD wave = controlId(0, 0, 0);
    platform::win::postMessage(window, MM_MIXM_CONTROL_CHANGE, foreign, wave);
    platform::win::postMessage(window, MM_MIXM_LINE_CHANGE, foreign, lineId(0, 0));
    platform::win::postMessage(window, MM_MIXM_CONTROL_CHANGE, own, 0xDEAD);
    platform::win::postMessage(window, MM_MIXM_LINE_CHANGE, own, 0xDEAD);
    platform::win::postMessage(window, MM_MIXM_CONTROL_CHANGE + 1, own, wave);
    deliver();
    EXPECT_TRUE(controlEvents.empty());
    EXPECT_TRUE(lineEvents.empty());
    EXPECT_EQ(sim->callCount(Call::GetControlDetails), reads);

    // Another mixer's change reaches only its own component.
    sim->changeControl(wave, {5, 5}, 1);
    deliver();
    EXPECT_TRUE(controlEvents.empty());
    EXPECT_EQ(other.WaveOut->GetVolume()->Left(), 5u);

    // Posted before Close, delivered after: dropped; so is the old handle's.
    sim->changeControl(wave, {6, 6});
    m.Close();
    platform::win::postMessage(window, MM_MIXM_CONTROL_CHANGE, own, wave);
    deliver();
    EXPECT_TRUE(controlEvents.empty());
    EXPECT_EQ(sim->callCount(Call::GetControlDetails), reads + 1);
}

TEST_F(Notifications, SearchOrderFirstMatchWins) {
    auto withId = [](TopologyControl c, DWORD id) {
        c.id = id;
        return c;
    };
    install(topologyOf({
        {speakers({withId(volumeControl(), 50)}),
         {line(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, "A", 2, {muteControl(), withId(volumeControl(), 50)}),
          line(MIXERLINE_COMPONENTTYPE_SRC_LINE, "B", 2, {withId(volumeControl(), 60)}),
          line(MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, "C", 2, {withId(volumeControl(), 70)})}},
        {line(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, "Rec", 2, {withId(volumeControl(), 70)}),
         {line(MIXERLINE_COMPONENTTYPE_SRC_LINE, "D", 2, {withId(volumeControl(), 60)})}},
    }));
    TAudioMixer m;
    m.Open();
    listen(m);
    const platform::win::HWND window = m.NotificationWindow();
    const auto own = static_cast<platform::win::WPARAM>(m.MixerHandle());
    for (DWORD id : {50u, 60u, 70u}) platform::win::postMessage(window, MM_MIXM_CONTROL_CHANGE, own, id);
    deliver();
    EXPECT_EQ(controlEvents, (std::vector<Event>{{0, 0, 1}, {0, 1, 0}, {0, 2, 0}}));

    // A line that is no longer available is passed over.
    sim->injectFault(Call::GetLineInfo, MMSYSERR_ERROR, lineId(0, 2), 1);
    platform::win::postMessage(window, MM_MIXM_LINE_CHANGE, own, lineId(0, 2));
    platform::win::postMessage(window, MM_MIXM_CONTROL_CHANGE, own, 70);
    deliver();
    EXPECT_FALSE(m.Destinations[0]->Sources[2]->Available);
    EXPECT_EQ(controlEvents.back(), (Event{1, 0xFFFFFFFFu, 0}));
}

TEST_F(Notifications, LineChangeRereadsTheLineOnly) {
    install(classicCardTopology());
    TAudioMixer m;
    m.Open();
    listen(m);
    sim->changeLine(lineId(0, 2), [](TopologyLine& l) {
        l.name = "Compact Disc";
        l.flags = MIXERLINE_LINEF_DISCONNECTED;
    });
    sim->changeLine(lineId(1, -1), [](TopologyLine& l) { l.name = "Record"; });
    // The microphone lines keep their slots and source index when read again.
    sim->changeLine(lineId(0, 4), [](TopologyLine&) {});
    sim->changeLine(lineId(1, 3), [](TopologyLine&) {});
    sim->changeLine(lineId(0, 3), [](TopologyLine&) {});
    // A line now reporting one control more keeps the controls it was built with.
    sim->changeLine(lineId(0, 0), [](TopologyLine& l) { l.controls.push_back(volumeControl(1)); });
    deliver();
    EXPECT_EQ(lineEvents,
              (std::vector<Event>{{0, 2, 0}, {1, 0xFFFFFFFFu, 0}, {0, 4, 0}, {1, 3, 0}, {0, 3, 0}, {0, 0, 0}}));
    EXPECT_EQ(m.CDPlay->Name, "Compact Disc");
    EXPECT_TRUE(m.CDPlay->Disconnected);
    EXPECT_FALSE(m.CDPlay->Active);
    EXPECT_EQ(m.RecordDest->Name, "Record");
    EXPECT_EQ(m.MicPlay, m.Destinations[0]->Sources[4].get());
    EXPECT_EQ(m.MicRecord, m.Destinations[1]->Sources[3].get());
    EXPECT_EQ(m.MicRecord->SourceIndex, 3u);
    EXPECT_EQ(m.LineInPlay, m.Destinations[0]->Sources[3].get());
    EXPECT_EQ(m.LineInRecord, m.Destinations[1]->Sources[2].get());
    EXPECT_EQ(m.LineInRecord->SourceIndex, 2u);
    EXPECT_EQ(m.WaveOut->ControlCount, 3u);
    EXPECT_EQ(m.WaveOut->Controls.size(), 2u);

    sim->changeControl(controlId(0, 0, 2), {9, 9});
    deliver();
    EXPECT_TRUE(controlEvents.empty());
}

TEST_F(Notifications, HandlerMayReopenTheMixer) {
    install(classicCardTopology());
    TAudioMixer m;
    m.Open();
    int reopened = 0;
    m.OnMixerLineChange = [&](QObject*, DWORD, DWORD) {
        ++reopened;
        m.Open();
    };
    sim->changeLine(lineId(0, 0), [](TopologyLine& l) { l.name = "Wave 2"; });
    deliver();
    EXPECT_EQ(reopened, 1);
    EXPECT_TRUE(m.Active());
    EXPECT_EQ(m.WaveOut->Name, "Wave 2");
    EXPECT_EQ(sim->openCount(), 1);
}

}  // namespace
}  // namespace mixer_test
