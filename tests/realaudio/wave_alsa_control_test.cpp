// The ALSA driver's stream control on a real sound server, through the wave
// API: a reset hands back every queued buffer in order before it returns (the
// one being recorded with the whole frames it holds), a stopped recorder hands
// back the buffer it was recording and a reset leaves it stopped, and a paused
// player holds its buffers until it is restarted.
#include "platform/wave/alsa/alsa_driver.h"
#include "platform/wave/driver_registry.h"
#include "platform/wave/wave_api.h"
#include "platform/win/message_window.h"
#include "realaudio/wave_buffers.h"
#include "support/installed_drivers.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

using realaudio_test::WaveBuffers;

using namespace platform;
using namespace platform::win;
using namespace platform::wave;
using namespace platform::wave::alsa;


void pumpFor(int milliseconds) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
}

class WaveAlsaControl : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("PRISTROJE_REALAUDIO") == nullptr) GTEST_SKIP() << "needs the test sound server";
        setDriver(std::make_shared<AlsaDriver>());
    }

    std::vector<Message> messages;
    MessageWindow window{[this](const Message& m) { messages.push_back(m); }};
    // Last: the drivers go before what they use.
    testsupport::InstalledDrivers installed;
};

TEST_F(WaveAlsaControl, ResetHandsBackEveryRecordingBufferInOrder) {
    const WAVEFORMATEX f = pcmFormat(44100, 2, 16);
    HWAVEIN h{};
    ASSERT_EQ(waveInOpen(&h, WAVE_MAPPER, &f, window.handle(), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
    WaveBuffers b(3, 44100 * 4);  // a second each
    for (auto& hdr : b.headers) {
        ASSERT_EQ(waveInPrepareHeader(h, &hdr, sizeof hdr), MMSYSERR_NOERROR);
        ASSERT_EQ(waveInAddBuffer(h, &hdr, sizeof hdr), MMSYSERR_NOERROR);
    }
    ASSERT_EQ(waveInStart(h), MMSYSERR_NOERROR);
    pumpFor(300);
    ASSERT_EQ(waveInReset(h), MMSYSERR_NOERROR);
    for (auto& hdr : b.headers) EXPECT_TRUE(hdr.dwFlags & WHDR_DONE);  // all back before reset returned
    EXPECT_GT(b.headers[0].dwBytesRecorded, 0u);
    EXPECT_LT(b.headers[0].dwBytesRecorded, 44100u * 4);
    EXPECT_EQ(b.headers[0].dwBytesRecorded % 4, 0u);
    EXPECT_EQ(b.headers[1].dwBytesRecorded, 0u);
    EXPECT_EQ(b.headers[2].dwBytesRecorded, 0u);
    QCoreApplication::sendPostedEvents();
    std::vector<LPARAM> order;
    for (const Message& m : messages)
        if (m.msg == MM_WIM_DATA) order.push_back(m.lParam);
    EXPECT_EQ(order, (std::vector<LPARAM>{reinterpret_cast<LPARAM>(&b.headers[0]),
                                          reinterpret_cast<LPARAM>(&b.headers[1]),
                                          reinterpret_cast<LPARAM>(&b.headers[2])}));
    for (auto& hdr : b.headers) EXPECT_EQ(waveInUnprepareHeader(h, &hdr, sizeof hdr), MMSYSERR_NOERROR);
    EXPECT_EQ(waveInClose(h), MMSYSERR_NOERROR);
}

TEST_F(WaveAlsaControl, AResetWhileRecordingHandsBackTheBufferAndLeavesTheRecorderStopped) {
    const WAVEFORMATEX f = pcmFormat(44100, 2, 16);
    HWAVEIN h{};
    ASSERT_EQ(waveInOpen(&h, WAVE_MAPPER, &f, window.handle(), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
    WaveBuffers b(3, 44100 * 4);  // a second each
    for (auto& hdr : b.headers) ASSERT_EQ(waveInPrepareHeader(h, &hdr, sizeof hdr), MMSYSERR_NOERROR);
    ASSERT_EQ(waveInAddBuffer(h, &b.headers[0], sizeof b.headers[0]), MMSYSERR_NOERROR);
    ASSERT_EQ(waveInAddBuffer(h, &b.headers[1], sizeof b.headers[1]), MMSYSERR_NOERROR);

    // A reset while recording gives back the buffer being recorded, with the
    // whole frames it holds, and the queued one empty, before it returns.
    ASSERT_EQ(waveInStart(h), MMSYSERR_NOERROR);
    pumpFor(300);
    ASSERT_EQ(waveInReset(h), MMSYSERR_NOERROR);
    EXPECT_TRUE(b.headers[0].dwFlags & WHDR_DONE);
    EXPECT_GT(b.headers[0].dwBytesRecorded, 0u);
    EXPECT_LT(b.headers[0].dwBytesRecorded, 44100u * 4);
    EXPECT_EQ(b.headers[0].dwBytesRecorded % 4, 0u);
    EXPECT_TRUE(b.headers[1].dwFlags & WHDR_DONE);
    EXPECT_EQ(b.headers[1].dwBytesRecorded, 0u);

    // The recorder stays stopped: a buffer added after the reset is not
    // recorded into until a start.
    ASSERT_EQ(waveInAddBuffer(h, &b.headers[2], sizeof b.headers[2]), MMSYSERR_NOERROR);
    pumpFor(300);
    ASSERT_EQ(waveInReset(h), MMSYSERR_NOERROR);
    EXPECT_TRUE(b.headers[2].dwFlags & WHDR_DONE);
    EXPECT_EQ(b.headers[2].dwBytesRecorded, 0u);

    for (auto& hdr : b.headers) EXPECT_EQ(waveInUnprepareHeader(h, &hdr, sizeof hdr), MMSYSERR_NOERROR);
    EXPECT_EQ(waveInClose(h), MMSYSERR_NOERROR);
}

TEST_F(WaveAlsaControl, PausedPlayerKeepsItsBuffersUntilRestarted) {
    const WAVEFORMATEX f = pcmFormat(22050, 1, 16);
    HWAVEOUT h{};
    ASSERT_EQ(waveOutOpen(&h, WAVE_MAPPER, &f, window.handle(), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
    ASSERT_EQ(waveOutPause(h), MMSYSERR_NOERROR);
    WaveBuffers b(2, 22050);  // half a second each
    for (auto& hdr : b.headers) {
        ASSERT_EQ(waveOutPrepareHeader(h, &hdr, sizeof hdr), MMSYSERR_NOERROR);
        ASSERT_EQ(waveOutWrite(h, &hdr, sizeof hdr), MMSYSERR_NOERROR);
    }
    pumpFor(800);
    EXPECT_TRUE(messages.empty() || messages.back().msg == MM_WOM_OPEN) << "a paused device took a buffer";
    ASSERT_EQ(waveOutRestart(h), MMSYSERR_NOERROR);
    QElapsedTimer t;
    t.start();
    while ((b.headers[1].dwFlags & WHDR_DONE) == 0 && t.elapsed() < 5000) pumpFor(20);
    EXPECT_TRUE(b.headers[0].dwFlags & WHDR_DONE);
    EXPECT_TRUE(b.headers[1].dwFlags & WHDR_DONE);
    EXPECT_EQ(waveOutReset(h), MMSYSERR_NOERROR);
    for (auto& hdr : b.headers) EXPECT_EQ(waveOutUnprepareHeader(h, &hdr, sizeof hdr), MMSYSERR_NOERROR);
    EXPECT_EQ(waveOutClose(h), MMSYSERR_NOERROR);
}

}  // namespace
