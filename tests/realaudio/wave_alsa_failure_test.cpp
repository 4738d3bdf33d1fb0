// The ALSA driver when things go wrong on a real sound server: a format the
// device refuses, and a sound server that goes away in the middle of a stream.
#include "audio/audio_in.h"
#include "audio/audio_out.h"
#include "generator/sine_fill.h"
#include "platform/wave/alsa_driver.h"
#include "platform/wave/device_status.h"
#include "platform/wave/driver_registry.h"
#include "platform/wave/wave_api.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using namespace platform::wave;

bool realAudio() { return std::getenv("PRISTROJE_REALAUDIO") != nullptr; }

// Runs the event loop until `done` holds or `seconds` have passed.
template <typename Pred>
bool pumpUntil(Pred done, double seconds) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > seconds * 1000) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

TEST(WaveAlsaFailure, RefusedFormatGivesBadFormatAndSaysWhy) {
    if (!realAudio()) GTEST_SKIP() << "needs the test sound server";
    clearDeviceStatus();
    setDriver(std::make_shared<AlsaDriver>());
    WAVEFORMATEX f{WAVE_FORMAT_PCM, 2, 1'000'000, 4'000'000, 4, 16, 0};
    HWAVEOUT h{};
    EXPECT_EQ(waveOutOpen(&h, WAVE_MAPPER, &f, 0, 0, CALLBACK_NULL), WAVERR_BADFORMAT);
    const std::string text = lastDeviceError(Direction::Output);
    EXPECT_NE(text.find("'default'"), std::string::npos) << text;
    EXPECT_NE(text.find("1000000 Hz"), std::string::npos) << text;
    // The same device opens with a format it can play, and a query says so.
    f = WAVEFORMATEX{WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};
    EXPECT_EQ(waveOutOpen(nullptr, WAVE_MAPPER, &f, 0, 0, WAVE_FORMAT_QUERY), MMSYSERR_NOERROR);
    setDriver(nullptr);
}

// A private second sound server that the test can stop.
class DoomedServer {
public:
    DoomedServer() {
        const QString script = QStringLiteral(PRISTROJE_SOURCE_DIR "/scripts/sound_server.sh");
        QProcess p;
        p.start("bash", {script, "start", dir_.path()});
        p.waitForFinished(30000);
        for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n')) {
            if (line.startsWith("export PULSE_SERVER=")) server_ = line.mid(20).toStdString();
        }
    }
    ~DoomedServer() { stop(); }
    const std::string& server() const { return server_; }
    void stop() {
        QProcess::execute("bash", {QStringLiteral(PRISTROJE_SOURCE_DIR "/scripts/sound_server.sh"), "stop",
                                   dir_.path()});
    }

private:
    QTemporaryDir dir_{QDir::tempPath() + "/pristroje-doomed.XXXXXX"};
    std::string server_;
};

TEST(WaveAlsaFailure, ServerGoingAwayEndsBothStreamsCleanly) {
    if (!realAudio()) GTEST_SKIP() << "needs the test sound server";
    DoomedServer doomed;
    ASSERT_FALSE(doomed.server().empty());
    const std::string saved = std::getenv("PULSE_SERVER") ? std::getenv("PULSE_SERVER") : "";
    setenv("PULSE_SERVER", doomed.server().c_str(), 1);
    clearDeviceStatus();
    setDriver(std::make_shared<AlsaDriver>());

    QObject owner;
    auto* in = new audio::TAudioIn(&owner);
    in->SetFrameRate(44100);
    in->SetStereo(true);
    in->SetBufferSize(10000);
    in->SetNumBuffers(2);
    auto* out = new audio::TAudioOut(&owner);
    out->OnFillBuffer = [&](char* buffer, std::int32_t& size) {
        return generator::FillSine(buffer, size, out->FilledCount(), 22050, 10000, 50);
    };
    ASSERT_TRUE(in->Start(in)) << in->ErrorMessage();
    ASSERT_TRUE(out->Start(out)) << out->ErrorMessage();
    EXPECT_TRUE(pumpUntil([&] { return in->FilledCount() >= 10; }, 10));

    doomed.stop();
    // Both components drain and close on their own, within seconds.
    EXPECT_TRUE(pumpUntil([&] { return !in->DeviceOpen() && !out->DeviceOpen(); }, 10))
        << "in open " << in->DeviceOpen() << ", out open " << out->DeviceOpen();
    EXPECT_EQ(in->QueuedCount(), 0);
    EXPECT_NE(lastDeviceError(Direction::Input).find("capture device 'default' stopped working"), std::string::npos)
        << lastDeviceError(Direction::Input);
    EXPECT_NE(lastDeviceError(Direction::Output).find("playback device 'default' stopped working"),
              std::string::npos)
        << lastDeviceError(Direction::Output);
    EXPECT_FALSE(in->ErrorMessage().empty());

    delete in;
    delete out;
    setDriver(nullptr);
    setenv("PULSE_SERVER", saved.c_str(), 1);
}

}  // namespace
