// The simulated driver: buffers come back in order at the virtual times their
// frames have passed; recorded data comes from the signal source; played data
// is logged; pause, reset and injected faults behave as a device would.
#include "platform/wave/driver_registry.h"
#include "platform/wave/clocked/frame_timing.h"
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
using namespace platform::wave::clocked;


struct Buffer {
    std::vector<char> data;
    WAVEHDR header;
    explicit Buffer(std::size_t bytes) : data(bytes) {
        header.lpData = data.data();
        header.dwBufferLength = static_cast<DWORD>(bytes);
    }
};

class SimDriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        driver = std::make_shared<SimDriver>(clock);
        setDriver(driver);
    }

    // Advances the clock and returns the headers that came back meanwhile.
    std::vector<LPARAM> advanceTo(Nanoseconds t) {
        clock.advanceTo(t);
        QCoreApplication::sendPostedEvents();
        std::vector<LPARAM> done;
        for (const Message& m : messages)
            if (m.msg == MM_WIM_DATA || m.msg == MM_WOM_DONE) done.push_back(m.lParam);
        messages.clear();
        return done;
    }

    static LPARAM addr(Buffer& b) { return reinterpret_cast<LPARAM>(&b.header); }

    VirtualClock clock;
    std::shared_ptr<SimDriver> driver;
    std::vector<Message> messages;
    MessageWindow window{[this](const Message& m) { messages.push_back(m); }};
    const DWORD flags = CALLBACK_WINDOW;
    // Last: the drivers go before what they use.
    testsupport::InstalledDrivers installed;
};

TEST_F(SimDriverTest, RecordsFromTheSignalSourceAndReturnsBuffersWhenTheirLastFrameHasPassed) {
    std::vector<std::int64_t> firstFrames;
    driver->setSignalSource([&](const WAVEFORMATEX& f, std::int64_t first, char* data, std::size_t frames) {
        firstFrames.push_back(first);
        auto* s = reinterpret_cast<std::int16_t*>(data);
        for (std::size_t i = 0; i < frames * f.nChannels; ++i) s[i] = static_cast<std::int16_t>(first + i / 2);
    });
    const WAVEFORMATEX f = pcmFormat(44100, 2, 16);
    HWAVEIN in{};
    ASSERT_EQ(waveInOpen(&in, WAVE_MAPPER, &f, window.handle(), 0, flags), MMSYSERR_NOERROR);
    Buffer a(10000), b(10000), c(10000);
    for (Buffer* x : {&a, &b}) {
        ASSERT_EQ(waveInPrepareHeader(in, &x->header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
        ASSERT_EQ(waveInAddBuffer(in, &x->header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    }
    EXPECT_TRUE(advanceTo(kNanosecondsPerSecond).empty()) << "nothing is recorded before waveInStart";

    const Nanoseconds t0 = clock.now();
    ASSERT_EQ(waveInStart(in), MMSYSERR_NOERROR);
    EXPECT_TRUE(advanceTo(t0 + frameTime(2500, 44100) - 1).empty());
    EXPECT_EQ(advanceTo(t0 + frameTime(2500, 44100)), std::vector<LPARAM>{addr(a)});
    EXPECT_EQ(a.header.dwBytesRecorded, 10000u);
    EXPECT_EQ(reinterpret_cast<std::int16_t*>(a.data.data())[2 * 2499 + 1], 2499);
    EXPECT_EQ(driver->heldBuffers(Direction::Input), 1);
    EXPECT_EQ(advanceTo(t0 + frameTime(5000, 44100)), std::vector<LPARAM>{addr(b)});

    // Nothing queued for a while: those frames are lost, the next buffer starts at "now".
    const Nanoseconds later = t0 + frameTime(7000, 44100);
    advanceTo(later);
    ASSERT_EQ(waveInPrepareHeader(in, &c.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    ASSERT_EQ(waveInAddBuffer(in, &c.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    EXPECT_EQ(advanceTo(t0 + frameTime(9500, 44100)), std::vector<LPARAM>{addr(c)});
    EXPECT_EQ(firstFrames, (std::vector<std::int64_t>{0, 2500, 7000}));

    // A reset returns a partly recorded head with the bytes it holds.
    ASSERT_EQ(waveInAddBuffer(in, &a.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    ASSERT_EQ(waveInAddBuffer(in, &b.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    advanceTo(clock.now() + frameTime(100, 44100));
    ASSERT_EQ(waveInReset(in), MMSYSERR_NOERROR);
    EXPECT_EQ(advanceTo(clock.now()), (std::vector<LPARAM>{addr(a), addr(b)}));
    EXPECT_EQ(a.header.dwBytesRecorded, 400u);
    EXPECT_EQ(b.header.dwBytesRecorded, 0u);
    EXPECT_EQ(driver->heldBuffers(Direction::Input), 0);
    EXPECT_EQ(waveInClose(in), MMSYSERR_NOERROR);
}

TEST_F(SimDriverTest, PlaysBuffersBackToBackPausesWhereItIsAndLogsWhatWasPlayed) {
    const WAVEFORMATEX f = pcmFormat(22050, 1, 16);
    HWAVEOUT out{};
    ASSERT_EQ(waveOutOpen(&out, WAVE_MAPPER, &f, window.handle(), 0, flags), MMSYSERR_NOERROR);
    Buffer a(8192), b(8192), c(8192);
    std::memset(a.data.data(), 1, 8192);
    std::memset(b.data.data(), 2, 8192);
    std::memset(c.data.data(), 3, 8192);
    b.header.dwBufferLength = 4096;  // half a buffer plays for half the time
    const Nanoseconds t0 = clock.now();
    for (Buffer* x : {&a, &b, &c}) {
        ASSERT_EQ(waveOutPrepareHeader(out, &x->header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
        ASSERT_EQ(waveOutWrite(out, &x->header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    }
    EXPECT_TRUE(advanceTo(t0 + frameTime(4096, 22050) - 1).empty());
    EXPECT_EQ(advanceTo(t0 + frameTime(4096, 22050)), std::vector<LPARAM>{addr(a)});
    EXPECT_EQ(advanceTo(t0 + frameTime(6144, 22050)), std::vector<LPARAM>{addr(b)});

    // Pause 1000 frames into c, wait a long time, restart: 3096 frames remain.
    advanceTo(t0 + frameTime(7144, 22050));
    ASSERT_EQ(waveOutPause(out), MMSYSERR_NOERROR);
    EXPECT_TRUE(advanceTo(t0 + 100 * kNanosecondsPerSecond).empty());
    ASSERT_EQ(waveOutRestart(out), MMSYSERR_NOERROR);
    const Nanoseconds resumed = clock.now();
    EXPECT_TRUE(advanceTo(resumed + frameTime(3096, 22050) - 1).empty());
    EXPECT_EQ(advanceTo(resumed + frameTime(3096, 22050)), std::vector<LPARAM>{addr(c)});

    const auto& played = driver->played();
    ASSERT_EQ(played.size(), 3u);
    EXPECT_EQ(played[1].data, std::vector<char>(4096, 2));
    EXPECT_EQ(played[2].data, std::vector<char>(8192, 3));
    EXPECT_EQ(played[0].start, t0);
    EXPECT_EQ(played[1].start, played[0].end);
    EXPECT_EQ(played[2].end, resumed + frameTime(3096, 22050));
    EXPECT_TRUE(played[2].complete);

    // A reset cuts the playing buffer short and returns the rest unplayed, in order.
    driver->clearPlayed();
    ASSERT_EQ(waveOutWrite(out, &a.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    ASSERT_EQ(waveOutWrite(out, &b.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    advanceTo(clock.now() + frameTime(10, 22050));
    ASSERT_EQ(waveOutReset(out), MMSYSERR_NOERROR);
    EXPECT_EQ(advanceTo(clock.now()), (std::vector<LPARAM>{addr(a), addr(b)}));
    ASSERT_EQ(driver->played().size(), 1u);
    EXPECT_EQ(driver->played()[0].data.size(), 20u);
    EXPECT_FALSE(driver->played()[0].complete);
    EXPECT_EQ(waveOutClose(out), MMSYSERR_NOERROR);
    EXPECT_EQ(driver->openStreams(Direction::Output), 0);
}

TEST_F(SimDriverTest, InjectedFaultsRefuseTheChosenCallsOnly) {
    const WAVEFORMATEX f = pcmFormat(44100, 2, 16);
    HWAVEIN in{};
    driver->injectFault(SimCall::Open, MMSYSERR_ALLOCATED);
    EXPECT_EQ(waveInOpen(&in, WAVE_MAPPER, &f, window.handle(), 0, flags), MMSYSERR_ALLOCATED);
    ASSERT_EQ(waveInOpen(&in, WAVE_MAPPER, &f, window.handle(), 0, flags), MMSYSERR_NOERROR);

    Buffer a(400), b(400), c(400);
    driver->injectFault(SimCall::Prepare, MMSYSERR_NOMEM, 1);
    EXPECT_EQ(waveInPrepareHeader(in, &a.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    EXPECT_EQ(waveInPrepareHeader(in, &b.header, sizeof(WAVEHDR)), MMSYSERR_NOMEM);
    EXPECT_EQ(b.header.dwFlags, 0u) << "a refused prepare leaves the header unprepared";
    EXPECT_EQ(waveInPrepareHeader(in, &b.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    EXPECT_EQ(waveInPrepareHeader(in, &c.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);

    driver->injectFault(SimCall::Submit, MMSYSERR_ERROR, 1, -1);
    EXPECT_EQ(waveInAddBuffer(in, &a.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    EXPECT_EQ(waveInAddBuffer(in, &b.header, sizeof(WAVEHDR)), MMSYSERR_ERROR);
    EXPECT_EQ(waveInAddBuffer(in, &b.header, sizeof(WAVEHDR)), MMSYSERR_ERROR);
    EXPECT_EQ(b.header.dwFlags, WHDR_PREPARED) << "a refused buffer is not held";
    EXPECT_EQ(driver->heldBuffers(Direction::Input), 1);
    driver->clearFaults();
    EXPECT_EQ(waveInAddBuffer(in, &b.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);

    driver->injectFault(SimCall::Start, MMSYSERR_NOTENABLED);
    EXPECT_EQ(waveInStart(in), MMSYSERR_NOTENABLED);
    EXPECT_TRUE(advanceTo(kNanosecondsPerSecond).empty()) << "a refused start records nothing";
    EXPECT_EQ(waveInStart(in), MMSYSERR_NOERROR);
    EXPECT_EQ(advanceTo(2 * kNanosecondsPerSecond), (std::vector<LPARAM>{addr(a), addr(b)}));
    EXPECT_EQ(waveInClose(in), MMSYSERR_NOERROR);
}

TEST(FrameTiming, FrameTimesAndFrameCountsAreExactInverses) {
    for (std::int64_t rate : {8000, 22050, 44100, 48000, 96000}) {
        for (std::int64_t n : {0LL, 1LL, 2499LL, 2500LL, 44099LL, 44100LL, 123456789LL}) {
            const Nanoseconds t = frameTime(n, rate);
            EXPECT_EQ(framesAt(t, rate), n) << rate << " " << n;
            if (n > 0) {
                EXPECT_EQ(framesAt(t - 1, rate), n - 1) << rate << " " << n;
            }
        }
    }
}

}  // namespace
