// Playback tells the truth, heard on the sound server's monitor: a stream
// paused in the middle and restarted loses nothing, and the last buffer's
// return comes when it has been played, so a close right then (as the player
// does after a drain) cuts nothing off its end.
#include "platform/wave/alsa/alsa_driver.h"
#include "platform/wave/driver_registry.h"
#include "platform/wave/wave_api.h"
#include "platform/win/message_window.h"
#include "realaudio/event_pump.h"
#include "realaudio/wave_buffers.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <string_view>
#include <vector>

namespace {

using realaudio_test::WaveBuffers;

using realaudio_test::pumpFor;
using realaudio_test::pumpUntil;

using namespace platform;
using namespace platform::win;
using namespace platform::wave;
using namespace platform::wave::alsa;

constexpr int kPlayRate = 22050;
constexpr int kPlayFrames = 5500;  // per buffer: 249 ms
constexpr int kPlayBuffers = 6;
constexpr int kAmplitude = 12000;
constexpr int kRecordRate = 44100;
constexpr int kRecordFrames = 4410;  // per buffer: 100 ms
constexpr int kRecordBuffers = 8;

// With the device's own pause, and without it (the device drops what it holds).
class WaveAlsaPlayback : public ::testing::TestWithParam<bool> {};

TEST_P(WaveAlsaPlayback, PauseLosesNothingAndTheLastReturnComesWhenItWasHeard) {
    if (std::getenv("PRISTROJE_REALAUDIO") == nullptr) GTEST_SKIP() << "needs the test sound server";
    const char* server = std::getenv("PRISTROJE_SOUND_SERVER");
    if (!GetParam() && server != nullptr && std::string_view(server) == "pipewire")
        GTEST_SKIP() << "known fault: through pipewire-pulse the delay the sound library reports before a drop "
                        "is short of what the server holds, so about 330 ms of the ring are lost; devices there "
                        "have the pause of their own (the Hardware case)";
    AlsaConfig config;
    config.hardwarePause = GetParam();
    setDriver(std::make_shared<AlsaDriver>(config));

    // The monitor of the sink, recorded all along (left channel kept).
    std::vector<std::int16_t> heard;
    HWAVEIN in{};
    WaveBuffers rec(kRecordBuffers, kRecordFrames * 4);
    bool recording = true;
    MessageWindow inWindow([&](const Message& m) {
        if (m.msg != MM_WIM_DATA) return;
        auto* h = reinterpret_cast<WAVEHDR*>(m.lParam);
        for (DWORD i = 0; i + 4 <= h->dwBytesRecorded; i += 4) {
            std::int16_t l;
            std::memcpy(&l, h->lpData + i, 2);
            heard.push_back(l);
        }
        if (recording) waveInAddBuffer(in, h, sizeof *h);
    });
    const WAVEFORMATEX inFormat = pcmFormat(kRecordRate, 2, 16);
    ASSERT_EQ(waveInOpen(&in, WAVE_MAPPER, &inFormat, inWindow.handle(), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
    for (auto& h : rec.headers) {
        ASSERT_EQ(waveInPrepareHeader(in, &h, sizeof h), MMSYSERR_NOERROR);
        ASSERT_EQ(waveInAddBuffer(in, &h, sizeof h), MMSYSERR_NOERROR);
    }
    ASSERT_EQ(waveInStart(in), MMSYSERR_NOERROR);
    pumpFor(0.3);

    // A sine of 1.5 s in six buffers, one phase throughout.
    int done = 0;
    MessageWindow outWindow([&](const Message& m) {
        if (m.msg == MM_WOM_DONE) ++done;
    });
    HWAVEOUT out{};
    const WAVEFORMATEX outFormat = pcmFormat(kPlayRate, 1, 16);
    ASSERT_EQ(waveOutOpen(&out, WAVE_MAPPER, &outFormat, outWindow.handle(), 0, CALLBACK_WINDOW),
              MMSYSERR_NOERROR);
    WaveBuffers play(kPlayBuffers, kPlayFrames * 2);
    for (int b = 0; b < kPlayBuffers; ++b) {
        for (int i = 0; i < kPlayFrames; ++i) {
            const double t = static_cast<double>(b * kPlayFrames + i) / kPlayRate;
            const auto v =
                static_cast<std::int16_t>(std::lround(kAmplitude * std::sin(2 * std::numbers::pi * 440 * t)));
            std::memcpy(play.data[static_cast<std::size_t>(b)].data() + 2 * i, &v, 2);
        }
        auto& h = play.headers[static_cast<std::size_t>(b)];
        ASSERT_EQ(waveOutPrepareHeader(out, &h, sizeof h), MMSYSERR_NOERROR);
        ASSERT_EQ(waveOutWrite(out, &h, sizeof h), MMSYSERR_NOERROR);
    }
    pumpFor(0.5);
    ASSERT_EQ(waveOutPause(out), MMSYSERR_NOERROR);
    pumpFor(1.0);
    ASSERT_EQ(waveOutRestart(out), MMSYSERR_NOERROR);
    ASSERT_TRUE(pumpUntil([&] { return done == kPlayBuffers; }, 6)) << done << " buffers back";
    // Closed at the last return, as the player does.
    for (auto& h : play.headers) EXPECT_EQ(waveOutUnprepareHeader(out, &h, sizeof h), MMSYSERR_NOERROR);
    EXPECT_EQ(waveOutClose(out), MMSYSERR_NOERROR);

    pumpFor(0.6);
    recording = false;
    ASSERT_EQ(waveInReset(in), MMSYSERR_NOERROR);
    QCoreApplication::sendPostedEvents();
    for (auto& h : rec.headers) EXPECT_EQ(waveInUnprepareHeader(in, &h, sizeof h), MMSYSERR_NOERROR);
    EXPECT_EQ(waveInClose(in), MMSYSERR_NOERROR);

    // 10 ms windows with the sine in them, and the stretches they form.
    constexpr int kWindow = kRecordRate / 100;
    int on = 0, stretches = 0;
    bool wasOn = false;
    for (std::size_t w = 0; (w + 1) * kWindow <= heard.size(); ++w) {
        double sum = 0;
        for (int i = 0; i < kWindow; ++i) sum += std::pow(heard[w * kWindow + static_cast<std::size_t>(i)], 2);
        const bool isOn = std::sqrt(sum / kWindow) > kAmplitude / std::sqrt(2.0) / 3;
        on += isOn;
        if (isOn && !wasOn) ++stretches;
        wasOn = isOn;
    }
    const double written = 1000.0 * kPlayBuffers * kPlayFrames / kPlayRate;
    EXPECT_NEAR(on * 10.0, written, 40) << "ms heard of " << written;
    EXPECT_EQ(stretches, 2) << "one pause in the middle";
    setDriver(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Pause, WaveAlsaPlayback, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Hardware" : "DropAndWriteAgain"; });

}  // namespace
