// Real devices that go away and come back, on a sound server of the test's
// own: the recorder and the player of the main window stay open while the
// server is gone and resume by themselves when it is back, and a frozen server
// neither hangs a headless run nor stops the recording for good.
#include "private_sound_server.h"

#include "audio/audio_in.h"
#include "audio/audio_out.h"
#include "generator/sine_fill.h"
#include "platform/wave/alsa/alsa_driver.h"
#include "platform/wave/device_status.h"
#include "platform/wave/driver_registry.h"
#include "realaudio/event_pump.h"
#include "support/program_run.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using realaudio_test::pumpFor;
using realaudio_test::pumpUntil;

using namespace platform::wave;

using namespace platform::wave::alsa;
using realaudio_test::PrivateSoundServer;

TEST(WaveAlsaOutage, BothStreamsComeBackByThemselvesWhenTheServerReturns) {
    if (std::getenv("PRISTROJE_REALAUDIO") == nullptr) GTEST_SKIP() << "needs the test sound server";
    PrivateSoundServer server;
    ASSERT_TRUE(server.started());
    server.use();
    clearDeviceStatus();
    setDriver(std::make_shared<AlsaDriver>());

    QObject owner;
    auto* in = new audio::TAudioIn(&owner);
    in->SetFrameRate(44100);
    in->SetStereo(true);
    in->SetBufferSize(10000);
    in->SetNumBuffers(2);
    auto* out = new audio::TAudioOut(&owner);
    out->SetFrameRate(22050);
    out->SetStereo(false);
    out->SetBufferSize(8192);
    out->SetNumBuffers(4);
    out->OnFillBuffer = [&](char* buffer, std::int32_t& size) {
        return generator::FillSine(buffer, size, out->FilledCount(), 22050, 10000, 50);
    };
    ASSERT_TRUE(in->Start(in)) << in->ErrorMessage();
    ASSERT_TRUE(out->Start(out)) << out->ErrorMessage();
    ASSERT_TRUE(pumpUntil([&] { return in->FilledCount() >= 10 && out->DoneCount() >= 2; }, 10));

    server.stop();
    pumpFor(3);
    // Both still open, both missing, and nothing came in meanwhile.
    EXPECT_TRUE(in->DeviceOpen());
    EXPECT_TRUE(out->DeviceOpen());
    ASSERT_TRUE(deviceOutage(Direction::Input).has_value());
    ASSERT_TRUE(deviceOutage(Direction::Output).has_value());
    EXPECT_EQ(deviceOutage(Direction::Input)->device, "default");
    const std::int32_t filled = in->FilledCount();
    const std::int32_t played = out->DoneCount();
    pumpFor(0.3);
    EXPECT_EQ(in->FilledCount(), filled) << "blocks from a missing device";

    server.start();
    QElapsedTimer back;
    back.start();
    EXPECT_TRUE(pumpUntil([&] { return in->FilledCount() > filled + 2 && out->DoneCount() > played + 1; }, 2))
        << "recorded " << in->FilledCount() - filled << ", played " << out->DoneCount() - played;
    EXPECT_FALSE(deviceOutage(Direction::Input).has_value());
    EXPECT_FALSE(deviceOutage(Direction::Output).has_value());
    EXPECT_EQ(reconnectCount(), 2u);
    EXPECT_GT(missingSeconds(), 2 * 2.9);
    EXPECT_EQ(in->ErrorMessage(), "");
    EXPECT_EQ(out->ErrorMessage(), "");
    EXPECT_EQ(in->QueuedCount(), 2);

    in->StopImmediately();
    out->StopImmediately();
    QCoreApplication::processEvents();
    delete in;
    delete out;
    setDriver(nullptr);
}

TEST(WaveAlsaOutage, AFrozenServerNeitherHangsARunNorEndsTheRecording) {
    if (std::getenv("PRISTROJE_REALAUDIO") == nullptr) GTEST_SKIP() << "needs the test sound server";
    PrivateSoundServer server;
    ASSERT_TRUE(server.started());
    server.use();
    QTemporaryDir dir;
    const QString state = dir.filePath("state.json");
    QProcess run;
    QElapsedTimer wall;
    wall.start();
    run.start(QStringLiteral(PRISTROJE_BINARY),
              {"--audio=alsa", "--headless", "--run-for", "12", "--state", state});
    ASSERT_TRUE(run.waitForStarted());
    QThread::msleep(2500);
    server.freeze();
    QThread::msleep(5000);
    server.thaw();
    ASSERT_TRUE(run.waitForFinished(30000));
    const double seconds = wall.elapsed() / 1000.0;
    const QByteArray err = run.readAllStandardError();
    EXPECT_EQ(run.exitCode(), 0) << err.constData();
    EXPECT_LT(seconds, 14.5) << "the run did not end on time";
    EXPECT_FALSE(err.contains("ALSA lib")) << err.constData();
    const QJsonObject audio = QJsonDocument::fromJson(testsupport::readFile(state)).object()["audio"].toObject();
    // 17.6 blocks a second: at most ~45 before the freeze, so many more came after it.
    EXPECT_GE(audio["AudioIn1"].toObject()["FilledCount"].toInt(), 90) << QJsonDocument(audio).toJson().constData();
    EXPECT_TRUE(audio.contains("Reconnects"));
}

}  // namespace
