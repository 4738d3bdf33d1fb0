// The wave API's own rules: parameters checked at the front, header bookkeeping,
// notifications with the device handle, and a text for every result code.
#include "platform/wave/driver_registry.h"
#include "platform/wave/sim/sim_driver.h"
#include "platform/wave/wave_api.h"
#include "platform/win/message_window.h"
#include "support/installed_drivers.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using namespace platform;
using namespace platform::win;
using namespace platform::wave;
using namespace platform::wave::sim;


class WaveApi : public ::testing::Test {
protected:
    void SetUp() override {
        driver = std::make_shared<SimDriver>(clock);
        setDriver(driver);
    }

    void pump() { QCoreApplication::sendPostedEvents(); }

    VirtualClock clock;
    std::shared_ptr<SimDriver> driver;
    std::vector<Message> messages;
    MessageWindow window{[this](const Message& m) { messages.push_back(m); }};
    const DWORD flags = CALLBACK_WINDOW | WAVE_ALLOWSYNC;
    // Last: the drivers go before what they use.
    testsupport::InstalledDrivers installed;
};

TEST_F(WaveApi, OpenChecksItsParametersBeforeTheDriverSeesThem) {
    const WAVEFORMATEX good = pcmFormat(44100, 2, 16);
    HWAVEIN in{};
    EXPECT_EQ(waveInOpen(nullptr, WAVE_MAPPER, &good, window.handle(), 0, flags), MMSYSERR_INVALPARAM);
    EXPECT_EQ(waveInOpen(&in, WAVE_MAPPER, nullptr, window.handle(), 0, flags), MMSYSERR_INVALPARAM);
    EXPECT_EQ(waveInOpen(&in, WAVE_MAPPER, &good, window.handle(), 0, 0x00030000), MMSYSERR_INVALFLAG);
    EXPECT_EQ(waveInOpen(&in, WAVE_MAPPER, &good, window.handle(), 0, flags | 0x100), MMSYSERR_INVALFLAG);
    EXPECT_EQ(waveInOpen(&in, WAVE_MAPPER, &good, 0, 0, flags), MMSYSERR_INVALPARAM);
    EXPECT_EQ(waveInOpen(&in, 1, &good, window.handle(), 0, flags), MMSYSERR_BADDEVICEID);

    WAVEFORMATEX bad = good;
    bad.nBlockAlign = 2;
    EXPECT_EQ(waveInOpen(&in, WAVE_MAPPER, &bad, window.handle(), 0, flags), WAVERR_BADFORMAT);
    EXPECT_EQ(waveInOpen(&in, WAVE_MAPPER, &(bad = pcmFormat(0, 1, 16)), window.handle(), 0, flags), WAVERR_BADFORMAT);
    EXPECT_EQ(waveInOpen(&in, WAVE_MAPPER, &(bad = pcmFormat(44100, 1, 24)), window.handle(), 0, flags),
              WAVERR_BADFORMAT);
    bad = good;
    bad.wFormatTag = 3;
    EXPECT_EQ(waveInOpen(&in, WAVE_MAPPER, &bad, window.handle(), 0, flags), WAVERR_BADFORMAT);
    // Consistent, but not a rate the simulated device takes.
    EXPECT_EQ(waveInOpen(&in, WAVE_MAPPER, &(bad = pcmFormat(12345, 1, 16)), window.handle(), 0, flags),
              WAVERR_BADFORMAT);
    EXPECT_EQ(driver->openStreams(Direction::Input), 0);

    // A format query opens nothing and posts nothing.
    EXPECT_EQ(waveInOpen(nullptr, WAVE_MAPPER, &good, 0, 0, WAVE_FORMAT_QUERY), MMSYSERR_NOERROR);
    EXPECT_EQ(driver->openStreams(Direction::Input), 0);

    setDriver(nullptr);
    EXPECT_EQ(waveInOpen(&in, WAVE_MAPPER, &good, window.handle(), 0, flags), MMSYSERR_NODRIVER);
    EXPECT_EQ(waveInGetNumDevs(), 0u);
    pump();
    EXPECT_TRUE(messages.empty());
}

TEST_F(WaveApi, EveryOpenHasItsOwnHandleAndNotificationsCarryIt) {
    const WAVEFORMATEX f = pcmFormat(22050, 1, 16);
    HWAVEOUT first{}, second{};
    ASSERT_EQ(waveOutOpen(&first, WAVE_MAPPER, &f, window.handle(), 0, flags), MMSYSERR_NOERROR);
    EXPECT_EQ(waveOutOpen(&second, WAVE_MAPPER, &f, window.handle(), 0, flags), MMSYSERR_ALLOCATED);
    std::vector<char> data(64);
    WAVEHDR h;
    h.lpData = data.data();
    h.dwBufferLength = 64;
    ASSERT_EQ(waveOutPrepareHeader(first, &h, sizeof h), MMSYSERR_NOERROR);
    ASSERT_EQ(waveOutWrite(first, &h, sizeof h), MMSYSERR_NOERROR);
    clock.advanceTo(kNanosecondsPerSecond);
    ASSERT_EQ(waveOutUnprepareHeader(first, &h, sizeof h), MMSYSERR_NOERROR);
    ASSERT_EQ(waveOutClose(first), MMSYSERR_NOERROR);
    ASSERT_EQ(waveOutOpen(&second, WAVE_MAPPER, &f, window.handle(), 0, flags), MMSYSERR_NOERROR);
    EXPECT_NE(first, second);
    // An input call with an output handle's value is refused.
    EXPECT_EQ(waveInStart(HWAVEIN{static_cast<std::uint32_t>(second)}), MMSYSERR_INVALHANDLE);
    ASSERT_EQ(waveOutClose(second), MMSYSERR_NOERROR);

    pump();
    const auto h1 = static_cast<WPARAM>(first), h2 = static_cast<WPARAM>(second);
    ASSERT_EQ(messages.size(), 5u);
    EXPECT_EQ(messages[0].msg, MM_WOM_OPEN);
    EXPECT_EQ(messages[0].wParam, h1);
    EXPECT_EQ(messages[1].msg, MM_WOM_DONE);
    EXPECT_EQ(messages[1].wParam, h1);
    EXPECT_EQ(messages[1].lParam, reinterpret_cast<LPARAM>(&h));
    EXPECT_EQ(messages[2].msg, MM_WOM_CLOSE);
    EXPECT_EQ(messages[3].msg, MM_WOM_OPEN);
    EXPECT_EQ(messages[3].wParam, h2);
    EXPECT_EQ(messages[4].msg, MM_WOM_CLOSE);
    EXPECT_EQ(messages[4].wParam, h2);
}

TEST_F(WaveApi, HeadersMustBePreparedAndCannotBeTouchedWhileTheDeviceHoldsThem) {
    const WAVEFORMATEX f = pcmFormat(44100, 2, 16);
    HWAVEIN in{};
    ASSERT_EQ(waveInOpen(&in, WAVE_MAPPER, &f, window.handle(), 0, flags), MMSYSERR_NOERROR);
    std::vector<char> data(400);
    WAVEHDR a, b;
    a.lpData = data.data();
    a.dwBufferLength = 200;
    b.lpData = data.data() + 200;
    b.dwBufferLength = 200;
    EXPECT_EQ(waveInPrepareHeader(in, &a, 32), MMSYSERR_INVALPARAM);  // wrong record size
    WAVEHDR empty;
    EXPECT_EQ(waveInPrepareHeader(in, &empty, sizeof empty), MMSYSERR_INVALPARAM);  // no data
    EXPECT_EQ(waveInAddBuffer(in, &a, sizeof a), WAVERR_UNPREPARED);
    ASSERT_EQ(waveInPrepareHeader(in, &a, sizeof a), MMSYSERR_NOERROR);
    ASSERT_EQ(waveInPrepareHeader(in, &b, sizeof b), MMSYSERR_NOERROR);
    EXPECT_EQ(a.dwFlags, WHDR_PREPARED);
    ASSERT_EQ(waveInAddBuffer(in, &a, sizeof a), MMSYSERR_NOERROR);
    ASSERT_EQ(waveInAddBuffer(in, &b, sizeof b), MMSYSERR_NOERROR);
    EXPECT_EQ(a.dwFlags, WHDR_PREPARED | WHDR_INQUEUE);
    EXPECT_EQ(waveInAddBuffer(in, &a, sizeof a), WAVERR_STILLPLAYING);
    EXPECT_EQ(waveInUnprepareHeader(in, &a, sizeof a), WAVERR_STILLPLAYING);
    EXPECT_EQ(waveInClose(in), WAVERR_STILLPLAYING);

    // Recording starts, time passes into the first buffer, then a reset returns both.
    ASSERT_EQ(waveInStart(in), MMSYSERR_NOERROR);
    clock.advanceTo(framesToNanoseconds(10, 44100) + 1);
    ASSERT_EQ(waveInReset(in), MMSYSERR_NOERROR);
    EXPECT_EQ(a.dwFlags, WHDR_PREPARED | WHDR_DONE);
    EXPECT_EQ(a.dwBytesRecorded, 40u);  // ten frames of 4 bytes
    EXPECT_EQ(b.dwBytesRecorded, 0u);
    EXPECT_EQ(waveInUnprepareHeader(in, &a, sizeof a), MMSYSERR_NOERROR);
    EXPECT_EQ(a.dwFlags, WHDR_DONE);
    EXPECT_EQ(waveInClose(in), MMSYSERR_NOERROR);

    // The handle is gone: every call on it is refused.
    EXPECT_EQ(waveInUnprepareHeader(in, &b, sizeof b), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(waveInReset(in), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(waveInClose(in), MMSYSERR_INVALHANDLE);
    pump();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[1].msg, MM_WIM_DATA);
    EXPECT_EQ(messages[1].lParam, reinterpret_cast<LPARAM>(&a));
    EXPECT_EQ(messages[2].lParam, reinterpret_cast<LPARAM>(&b));
    EXPECT_EQ(messages[3].msg, MM_WIM_CLOSE);
}

TEST_F(WaveApi, EveryResultCodeHasATextThatFitsTheCallersBuffer) {
    const MMRESULT codes[] = {MMSYSERR_NOERROR,     MMSYSERR_ERROR,     MMSYSERR_BADDEVICEID, MMSYSERR_NOTENABLED,
                              MMSYSERR_ALLOCATED,   MMSYSERR_INVALHANDLE, MMSYSERR_NODRIVER, MMSYSERR_NOMEM,
                              MMSYSERR_NOTSUPPORTED, MMSYSERR_BADERRNUM, MMSYSERR_INVALFLAG, MMSYSERR_INVALPARAM,
                              MMSYSERR_HANDLEBUSY,  MMSYSERR_NODRIVERCB, WAVERR_BADFORMAT,  WAVERR_STILLPLAYING,
                              WAVERR_UNPREPARED,    WAVERR_SYNC};
    std::vector<std::string> seen;
    for (MMRESULT code : codes) {
        char text[MAXERRORLENGTH];
        ASSERT_EQ(waveInGetErrorTextA(code, text, MAXERRORLENGTH), MMSYSERR_NOERROR) << code;
        EXPECT_GT(std::strlen(text), 10u) << code;
        char outText[MAXERRORLENGTH];
        ASSERT_EQ(waveOutGetErrorTextA(code, outText, MAXERRORLENGTH), MMSYSERR_NOERROR);
        EXPECT_STREQ(text, outText);
        seen.emplace_back(text);
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::unique(seen.begin(), seen.end()), seen.end()) << "each code has its own text";

    char small[8];
    ASSERT_EQ(waveOutGetErrorTextA(WAVERR_BADFORMAT, small, sizeof small), MMSYSERR_NOERROR);
    EXPECT_EQ(std::strlen(small), 7u);
    EXPECT_EQ(std::string(small), std::string(resultText(WAVERR_BADFORMAT).substr(0, 7)));
    EXPECT_EQ(waveOutGetErrorTextA(999, small, sizeof small), MMSYSERR_BADERRNUM);
    EXPECT_EQ(waveOutGetErrorTextA(WAVERR_BADFORMAT, nullptr, 8), MMSYSERR_INVALPARAM);
    EXPECT_EQ(waveOutGetErrorTextA(WAVERR_BADFORMAT, small, 0), MMSYSERR_INVALPARAM);
}

}  // namespace
