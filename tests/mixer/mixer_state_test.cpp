// The mixer's part of the state report.
#include "support/sim_mixer_fixture.h"

#include "mixer/audio_mixer.h"
#include "mixer/mixer_state.h"
#include "platform/mixer/sim/classic_card.h"

#include <QJsonArray>

namespace mixer_test {
namespace {

class MixerState : public SimMixerTest {};

TEST_F(MixerState, ReportsLinesVolumesAndSlots) {
    install(classicCardTopology());
    mixer::TAudioMixer m;
    QJsonObject closed = mixer::mixerStateJson(m);
    EXPECT_FALSE(closed.value("Active").toBool());
    EXPECT_TRUE(closed.value("WaveOut").isNull());
    EXPECT_TRUE(closed.value("Destinations").toArray().isEmpty());

    m.Open();
    m.WaveOut->GetVolume()->SetLeft(65535);
    const QJsonObject o = mixer::mixerStateJson(m);
    EXPECT_TRUE(o.value("Active").toBool());
    EXPECT_EQ(o.value("ProductName").toString().toStdString(), classicCardProductName());
    const QJsonArray destinations = o.value("Destinations").toArray();
    ASSERT_EQ(destinations.size(), 2);
    const QJsonObject wave = destinations[0].toObject().value("Sources").toArray()[0].toObject();
    EXPECT_EQ(wave.value("Name").toString(), "Wave");
    EXPECT_EQ(wave.value("Volume").toObject().value("Left").toInteger(), 65535);
    EXPECT_EQ(wave.value("Volume").toObject().value("Right").toInteger(), 49152);
    EXPECT_EQ(o.value("WaveOut").toObject(), wave);
    EXPECT_TRUE(destinations[1].toObject().value("Volume").isNull());  // the recording destination has only a MUX
    EXPECT_EQ(o.value("SpeakersDest").toObject().value("Name").toString(), "Volume Control");
}

}  // namespace
}  // namespace mixer_test
