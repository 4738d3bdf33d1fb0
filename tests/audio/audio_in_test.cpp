// The recorder on the simulated sound card: ring order and counters, declined
// buffers, stops, restarts and every failure text.
#include "audio_fixture.h"

#include <cstring>
#include <vector>

namespace audio_test {
namespace {

using namespace platform::wave;

using namespace platform::wave::sim;

class Recorder : public AudioFixture {
protected:
    // The main window's recorder: 44100 stereo 16-bit, 10000-byte buffers.
    void SetUp() override {
        AudioFixture::SetUp();
        AudioIn1 = new audio::TAudioIn(&owner);
        AudioIn1->SetFrameRate(44100);
        AudioIn1->SetStereo(true);
        AudioIn1->SetBufferSize(10000);
        AudioIn1->SetNumBuffers(2);
        AudioIn1->OnStart = [this](QObject* sender) { starts.push_back(sender); };
        AudioIn1->OnStop = [this](QObject* sender) { stops.push_back(sender); };
    }

    // A handler that logs which buffer it was offered and answers from `answers`
    // (true once they run out).
    void logOffers(std::vector<bool> answers = {}) {
        AudioIn1->OnBufferFilled = [this, answers](char* Buffer, std::int32_t& Size) {
            offered.push_back(Buffer);
            sizes.push_back(Size);
            const std::size_t n = offered.size() - 1;
            Size = 1;  // ignored by the recorder
            return n < answers.size() ? answers[n] : true;
        };
    }
    int indexOf(const char* buffer) const {
        for (int i = 0; i < 4; ++i)
            if (AudioIn1->Buffer(i) == buffer) return i;
        return -1;
    }
    std::vector<int> offeredIndices() const {
        std::vector<int> v;
        for (const char* b : offered) v.push_back(indexOf(b));
        return v;
    }

    std::vector<char*> offered;
    std::vector<std::int32_t> sizes;
    std::vector<QObject*> starts;
    std::vector<QObject*> stops;
};

TEST_F(Recorder, AcceptedBuffersAlternateAndTheCountersFollowEveryReturn) {
    logOffers();
    ASSERT_TRUE(AudioIn1->Start(AudioIn1)) << AudioIn1->ErrorMessage();
    EXPECT_EQ(AudioIn1->QueuedCount(), 2);
    EXPECT_EQ(AudioIn1->NextBuffer(), 0);
    pump();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0], AudioIn1->CallBackWin()) << "the sender is the hidden window";
    for (int k = 1; k <= 7; ++k) {
        ASSERT_TRUE(step());
        EXPECT_EQ(AudioIn1->DoneCount(), k);
        EXPECT_EQ(AudioIn1->FilledCount(), k);
        EXPECT_EQ(AudioIn1->QueuedCount(), 2);
        EXPECT_EQ(AudioIn1->NextBuffer(), k % 2);
    }
    EXPECT_EQ(offeredIndices(), (std::vector<int>{0, 1, 0, 1, 0, 1, 0}));
    EXPECT_EQ(sizes, std::vector<std::int32_t>(7, 10000));
    EXPECT_TRUE(AudioIn1->DeviceOpen());
    EXPECT_TRUE(stops.empty());
}

TEST_F(Recorder, WithoutAHandlerRecordingRunsOnAndCountsEveryBuffer) {
    ASSERT_TRUE(AudioIn1->Start(AudioIn1));
    steps(5);
    EXPECT_EQ(AudioIn1->FilledCount(), 5);
    EXPECT_EQ(AudioIn1->QueuedCount(), 2);
    EXPECT_EQ(driver->heldBuffers(Direction::Input), 2);
}

TEST_F(Recorder, AHandlerThatAlwaysDeclinesSeesTheFirstBufferOnlyAndTheDeviceCloses) {
    for (int n : {2, 4}) {
        offered.clear();
        stops.clear();
        AudioIn1->SetNumBuffers(n);
        logOffers(std::vector<bool>(10, false));
        ASSERT_TRUE(AudioIn1->Start(AudioIn1)) << AudioIn1->ErrorMessage();
        drain();
        EXPECT_EQ(offeredIndices(), std::vector<int>(n, 0)) << n;
        EXPECT_FALSE(AudioIn1->DeviceOpen());
        EXPECT_EQ(AudioIn1->FilledCount(), 0);
        EXPECT_EQ(AudioIn1->DoneCount(), n);
        EXPECT_EQ(AudioIn1->QueuedCount(), 0);
        EXPECT_EQ(stops.size(), 1u);
        EXPECT_EQ(driver->openStreams(Direction::Input), 0);
    }
}

TEST_F(Recorder, AfterOneDeclineTheRingRunsOneReturnBehindWithThreeBuffersQueued) {
    AudioIn1->SetNumBuffers(4);
    // Each buffer's first sample tells which frame it starts at.
    driver->setSignalSource([](const WAVEFORMATEX&, std::int64_t first, char* data, std::size_t frames) {
        std::memset(data, 0, frames * 4);
        const auto tag = static_cast<std::int16_t>(first / 2500);
        std::memcpy(data, &tag, sizeof tag);
    });
    std::vector<std::int16_t> tags;
    logOffers({false});
    auto log = AudioIn1->OnBufferFilled;
    AudioIn1->OnBufferFilled = [&](char* Buffer, std::int32_t& Size) {
        std::int16_t tag;
        std::memcpy(&tag, Buffer, sizeof tag);
        tags.push_back(tag);
        return log(Buffer, Size);
    };
    ASSERT_TRUE(AudioIn1->Start(AudioIn1));
    steps(7);
    EXPECT_EQ(offeredIndices(), (std::vector<int>{0, 0, 1, 2, 3, 0, 1}));
    // Buffer 0 is offered again with the data already declined; from then on each
    // buffer is offered one return after it came back.
    EXPECT_EQ(tags, (std::vector<std::int16_t>{0, 0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(AudioIn1->QueuedCount(), 3);
    EXPECT_EQ(driver->heldBuffers(Direction::Input), 3);
    EXPECT_EQ(AudioIn1->FilledCount(), 6);
    EXPECT_EQ(AudioIn1->DoneCount(), 7);
    EXPECT_TRUE(AudioIn1->DeviceOpen());
}

TEST_F(Recorder, AStartWhileRecordingChangesNothingButTheErrorText) {
    ASSERT_TRUE(AudioIn1->Start(AudioIn1));
    steps(3);
    auto* window = AudioIn1->CallBackWin();
    const auto handle = AudioIn1->WaveHandle();
    EXPECT_FALSE(AudioIn1->Start(AudioIn1));
    EXPECT_EQ(AudioIn1->ErrorMessage(), "Wave Input device is already open");
    EXPECT_EQ(AudioIn1->CallBackWin(), window);
    EXPECT_EQ(AudioIn1->CallBackWinCount(), 1);
    EXPECT_EQ(AudioIn1->WaveHandle(), handle);
    EXPECT_EQ(AudioIn1->DoneCount(), 3);
    EXPECT_EQ(AudioIn1->FilledCount(), 3);
    EXPECT_EQ(AudioIn1->QueuedCount(), 2);
    steps(1);
    EXPECT_EQ(AudioIn1->DoneCount(), 4) << "recording goes on";
}

TEST_F(Recorder, StopWhenDrainedCountsTheReturnsAndClosesAfterTheLast) {
    logOffers();
    ASSERT_TRUE(AudioIn1->Start(AudioIn1));
    steps(2);
    AudioIn1->StopWhenDrained();
    EXPECT_TRUE(AudioIn1->DeviceOpen());
    steps(1);
    EXPECT_TRUE(AudioIn1->DeviceOpen());
    steps(1);
    EXPECT_FALSE(AudioIn1->DeviceOpen());
    EXPECT_EQ(offered.size(), 2u) << "drained buffers are not offered";
    EXPECT_EQ(AudioIn1->DoneCount(), 4);
    EXPECT_EQ(AudioIn1->QueuedCount(), 0);
    EXPECT_EQ(stops.size(), 1u);
    EXPECT_FALSE(step()) << "nothing left with the driver";

    AudioIn1->StopWhenDrained();  // closed: nothing happens
    AudioIn1->StopImmediately();
    pump();
    EXPECT_EQ(stops.size(), 1u);
    EXPECT_EQ(AudioIn1->ErrorMessage(), "");
}

TEST_F(Recorder, StopImmediatelyClosesAtOnceAndTheReturnedBuffersAreOnlyCounted) {
    logOffers();
    ASSERT_TRUE(AudioIn1->Start(AudioIn1));
    steps(3);
    AudioIn1->StopImmediately();
    EXPECT_FALSE(AudioIn1->DeviceOpen());
    EXPECT_EQ(driver->openStreams(Direction::Input), 0);
    pump();  // the two buffers the reset returned
    EXPECT_EQ(AudioIn1->DoneCount(), 5);
    EXPECT_EQ(AudioIn1->QueuedCount(), 0);
    EXPECT_EQ(offered.size(), 3u);
    EXPECT_EQ(stops.size(), 1u);
}

TEST_F(Recorder, ARestartHasFreshCountersANewWindowAndStartsAtBufferZero) {
    logOffers({true, true, true, false});
    ASSERT_TRUE(AudioIn1->Start(AudioIn1));
    drain();
    // The decline left one buffer in circulation; when it came back the device
    // closed, although the owner accepted the buffer offered then and it was
    // queued once more (the close returned it: one more return, not offered).
    ASSERT_FALSE(AudioIn1->DeviceOpen());
    EXPECT_EQ(offeredIndices(), (std::vector<int>{0, 1, 0, 1, 1}));
    EXPECT_EQ(AudioIn1->FilledCount(), 4);
    EXPECT_EQ(AudioIn1->DoneCount(), 6);
    EXPECT_EQ(AudioIn1->QueuedCount(), 0);
    auto* oldWindow = AudioIn1->CallBackWin();

    offered.clear();
    logOffers();
    ASSERT_TRUE(AudioIn1->Start(AudioIn1));
    EXPECT_NE(AudioIn1->CallBackWin(), oldWindow);
    EXPECT_EQ(AudioIn1->FilledCount(), 0);
    EXPECT_EQ(AudioIn1->DoneCount(), 0);
    EXPECT_EQ(AudioIn1->QueuedCount(), 2);
    steps(1);
    EXPECT_EQ(offeredIndices(), std::vector<int>{0});
    EXPECT_EQ(AudioIn1->CallBackWinCount(), 1) << "the closed open's window is released";
    EXPECT_EQ(starts.size(), 2u);
}

TEST_F(Recorder, RefusedDeviceCallsLeaveTheirTextAndAClosedDevice) {
    // Open refused: the platform's text, nothing opened, nothing posted.
    AudioIn1->SetFrameRate(12345);
    EXPECT_FALSE(AudioIn1->Start(AudioIn1));
    EXPECT_EQ(AudioIn1->ErrorMessage(), text(WAVERR_BADFORMAT));
    AudioIn1->SetFrameRate(0);
    EXPECT_FALSE(AudioIn1->Start(AudioIn1));
    EXPECT_EQ(AudioIn1->ErrorMessage(), text(WAVERR_BADFORMAT));
    AudioIn1->SetFrameRate(44100);
    pump();
    EXPECT_TRUE(starts.empty());

    // Header preparation refused: closed again; open and close are both notified.
    driver->injectFault(SimCall::Prepare, MMSYSERR_NOMEM, 1);
    EXPECT_FALSE(AudioIn1->Start(AudioIn1));
    EXPECT_EQ(AudioIn1->ErrorMessage(), text(MMSYSERR_NOMEM));
    EXPECT_FALSE(AudioIn1->DeviceOpen());
    pump();
    EXPECT_EQ(starts.size(), 1u);
    EXPECT_EQ(stops.size(), 1u);

    // Start refused.
    driver->injectFault(SimCall::Start, MMSYSERR_NOTENABLED);
    EXPECT_FALSE(AudioIn1->Start(AudioIn1));
    EXPECT_EQ(AudioIn1->ErrorMessage(), "Error starting wave record: " + text(MMSYSERR_NOTENABLED));
    EXPECT_FALSE(AudioIn1->DeviceOpen());

    // A buffer refused while starting.
    driver->injectFault(SimCall::Submit, MMSYSERR_ERROR, 1);
    EXPECT_FALSE(AudioIn1->Start(AudioIn1));
    EXPECT_EQ(AudioIn1->ErrorMessage(), text(MMSYSERR_ERROR));
    EXPECT_FALSE(AudioIn1->DeviceOpen());
    drain();
    EXPECT_EQ(driver->openStreams(Direction::Input), 0);
    EXPECT_EQ(AudioIn1->ErrorMessage(), text(MMSYSERR_ERROR)) << "late returns leave the text alone";

    // Every failure left the recorder usable.
    ASSERT_TRUE(AudioIn1->Start(AudioIn1)) << AudioIn1->ErrorMessage();

    // A buffer refused while recording: the recorder drains and closes.
    driver->injectFault(SimCall::Submit, WAVERR_SYNC);
    steps(1);
    EXPECT_EQ(AudioIn1->ErrorMessage(), text(WAVERR_SYNC));
    EXPECT_FALSE(AudioIn1->Streaming());
    EXPECT_TRUE(AudioIn1->DeviceOpen());
    steps(1);
    EXPECT_FALSE(AudioIn1->DeviceOpen());
    EXPECT_EQ(driver->openStreams(Direction::Input), 0);
}

}  // namespace
}  // namespace audio_test
