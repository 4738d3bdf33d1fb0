// The ALSA driver when things go wrong on a real sound server: a format the
// device refuses. (A server that goes away: wave_alsa_outage_test.cpp.)
#include "audio/audio_in.h"
#include "audio/audio_out.h"
#include "generator/sine_fill.h"
#include "platform/wave/alsa/alsa_driver.h"
#include "platform/wave/device_status.h"
#include "platform/wave/driver_registry.h"
#include "platform/wave/wave_api.h"
#include "realaudio/event_pump.h"

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


using namespace platform::wave::alsa;

bool realAudio() { return std::getenv("PRISTROJE_REALAUDIO") != nullptr; }

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

}  // namespace
