// The ALSA mixer driver against a real sound server: the server's controls
// appear in the tree, the speakers volume set through the tree reaches the
// server, and a change made by another program (amixer) comes back as a
// notification that updates the tree.
#include "private_sound_server.h"

#include "mixer/audio_mixer.h"
#include "mixer/mixer_errors.h"
#include "platform/mixer/alsa/alsa_mixer_driver.h"
#include "platform/mixer/driver_registry.h"

#include <QEventLoop>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

namespace {

using namespace platform::mixer;


using namespace platform::mixer::alsa;
using platform::win::DWORD;

// Runs amixer on the default control device; returns what it printed.
QString amixer(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("amixer"), args);
    if (!p.waitForFinished(10000) || p.exitCode() != 0) {
        ADD_FAILURE() << "amixer " << args.join(' ').toStdString()
                      << " failed: " << p.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// The server's Master volume per channel, from "Front Left: Playback 65536 [100%] [on]".
std::vector<long> masterVolumes() {
    std::vector<long> out;
    const QRegularExpression re(QStringLiteral(R"(Front (Left|Right): Playback (\d+))"));
    auto it = re.globalMatch(amixer({QStringLiteral("sget"), QStringLiteral("Master")}));
    while (it.hasNext()) out.push_back(it.next().captured(2).toLong());
    return out;
}

// Runs the event loop until `done` holds, for at most five seconds.
bool waitFor(const std::function<bool()>& done) {
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    check.start(20);
    if (!done()) loop.exec();
    return done();
}

class MixerAlsa : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("PRISTROJE_REALAUDIO") == nullptr) GTEST_SKIP() << "needs the test sound server";
        driver = std::make_shared<AlsaMixerDriver>("default");
        setDriver(driver);
    }
    void TearDown() override {
        setDriver(nullptr);
        // Other tests on this server expect it at full volume, sounding.
        if (driver) amixer({QStringLiteral("-q"), QStringLiteral("sset"), QStringLiteral("Master"),
                            QStringLiteral("100%"), QStringLiteral("unmute")});
    }
    std::shared_ptr<AlsaMixerDriver> driver;
};

TEST_F(MixerAlsa, ServerControlsFormTheTree) {
    mixer::TAudioMixer m;
    ASSERT_EQ(m.MixerCount(), 1u) << driver->lastError();
    m.Open();
    EXPECT_EQ(m.ProductName(), "PulseAudio");
    ASSERT_EQ(m.Destinations.size(), 2u);
    ASSERT_NE(m.SpeakersDest, nullptr);
    ASSERT_NE(m.RecordDest, nullptr);
    EXPECT_EQ(m.SpeakersDest->Name, "Master");
    EXPECT_EQ(m.RecordDest->Name, "Capture");
    EXPECT_TRUE(m.SpeakersDest->Sources.empty());
    EXPECT_TRUE(m.RecordDest->Sources.empty());
    EXPECT_EQ(m.WaveOut, nullptr);  // the step that sets it is skipped
    EXPECT_EQ(m.SpeakersDest->VolumeIndex, 0);
    EXPECT_EQ(m.SpeakersDest->MuteIndex, 1);
    EXPECT_EQ(m.RecordDest->VolumeIndex, 0);
    EXPECT_EQ(m.SpeakersDest->Channels, 2u);
}

TEST_F(MixerAlsa, VolumesGoBothWays) {
    amixer({QStringLiteral("-q"), QStringLiteral("sset"), QStringLiteral("Master"), QStringLiteral("50%"),
            QStringLiteral("unmute")});
    mixer::TAudioMixer m;
    m.Open();
    std::vector<std::tuple<DWORD, DWORD, DWORD>> events;
    m.OnMixerControlChange = [&](QObject*, DWORD d, DWORD s, DWORD c) { events.emplace_back(d, s, c); };
    mixer::TVolume* volume = m.SpeakersDest->GetVolume();
    ASSERT_NE(volume, nullptr);
    EXPECT_NEAR(volume->Left(), 32768, 700);

    // As the main window does at start: both channels to full scale.
    volume->SetLeft(65535);
    volume->SetRight(65535);
    EXPECT_TRUE(m.SpeakersDest->Controls[0]->Available);
    EXPECT_EQ(masterVolumes(), (std::vector<long>{65536, 65536}));

    // Muting through the tree reaches the server too (a mute word is 1 when muted).
    mixer::TVolume* mute = m.SpeakersDest->Controls[1]->Values[0].get();
    EXPECT_EQ(mute->Left(), 0u);
    mute->SetLeft(1);
    EXPECT_NE(amixer({QStringLiteral("sget"), QStringLiteral("Master")}).indexOf(QStringLiteral("[off]")), -1);
    mute->SetLeft(0);

    // Another program's change arrives as a notification and updates the tree.
    events.clear();
    amixer({QStringLiteral("-q"), QStringLiteral("sset"), QStringLiteral("Master"), QStringLiteral("40%,20%")});
    const auto lowered = [&] { return volume->Left() < 30000 && volume->Right() < 16000; };
    ASSERT_TRUE(waitFor(lowered)) << "Left " << volume->Left() << " Right " << volume->Right();
    EXPECT_NEAR(volume->Left(), 26214, 700);
    EXPECT_NEAR(volume->Right(), 13107, 700);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), std::make_tuple(DWORD{0}, DWORD{0xFFFFFFFFu}, DWORD{0}));
}

TEST(MixerAlsaDevice, UnknownControlDeviceMeansNoMixer) {
    auto driver = std::make_shared<AlsaMixerDriver>("pristroje_no_such_device");
    setDriver(driver);
    mixer::TAudioMixer m;
    EXPECT_EQ(m.MixerCount(), 0u);
    EXPECT_FALSE(driver->lastError().empty());
    try {
        m.Open();
        ADD_FAILURE() << "Open succeeded without a mixer device";
    } catch (const mixer::EMixerID& e) {
        EXPECT_STREQ(e.what(), "No mixer device present in this system.");
    }
    setDriver(nullptr);
}

}  // namespace

namespace {

// On a server of the test's own, stopped and started again: the mixer comes
// back by itself, with the volume this program set written again.
TEST(MixerAlsaOutage, TheMixerComesBackWithTheVolumesSetAgain) {
    if (std::getenv("PRISTROJE_REALAUDIO") == nullptr) GTEST_SKIP() << "needs the test sound server";
    realaudio_test::PrivateSoundServer server;
    ASSERT_TRUE(server.started());
    server.use();
    auto driver = std::make_shared<AlsaMixerDriver>("default");
    setDriver(driver);
    {
        mixer::TAudioMixer m;
        m.Open();
        mixer::TVolume* volume = m.SpeakersDest->GetVolume();
        ASSERT_NE(volume, nullptr);
        volume->SetLeft(30000);
        volume->SetRight(20000);
        ASSERT_NEAR(masterVolumes().at(0), 30000, 700);

        server.stop();
        QEventLoop loop;
        QTimer::singleShot(1500, &loop, &QEventLoop::quit);
        loop.exec();
        server.start();  // a fresh server: full volume
        ASSERT_TRUE(waitFor([] {
            const auto v = masterVolumes();
            return v.size() == 2 && std::abs(v[0] - 30000) < 700 && std::abs(v[1] - 20000) < 700;
        })) << "Master " << (masterVolumes().empty() ? -1 : masterVolumes()[0]);
        EXPECT_TRUE(m.SpeakersDest->Controls[0]->Available);
        ASSERT_TRUE(waitFor([&] { return std::abs(static_cast<long>(volume->Left()) - 30000) < 700; }));
    }
    setDriver(nullptr);
}

}  // namespace
