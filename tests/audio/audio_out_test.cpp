// The player on the simulated sound card: priming, counters, the refill ring,
// shortened buffers, pause, stops, restarts and every failure text.
#include "audio_fixture.h"
#include "platform/wave/clocked/frame_timing.h"

#include <cstring>
#include <vector>

namespace audio_test {
namespace {

using namespace platform::wave;

using namespace platform::wave::sim;
using namespace platform::wave::clocked;

class Player : public AudioFixture {
protected:
    // The main window's player: 22050 mono 16-bit, four 8192-byte buffers.
    void SetUp() override {
        AudioFixture::SetUp();
        AudioOut1 = new audio::TAudioOut(&owner);
        AudioOut1->SetFrameRate(22050);
        AudioOut1->SetStereo(false);
        AudioOut1->SetBufferSize(8192);
        AudioOut1->SetNumBuffers(4);
        AudioOut1->OnStart = [this](QObject* sender) { starts.push_back(sender); };
        AudioOut1->OnStop = [this](QObject* sender) { stops.push_back(sender); };
    }

    // Fills each buffer with the number of the fill (1, 2, ...) and answers
    // from `answers` (true once they run out); logs FilledCount and QueuedCount
    // as the handler sees them.
    void fillNumbered(std::vector<bool> answers = {}) {
        AudioOut1->OnFillBuffer = [this, answers](char* Buffer, std::int32_t& Size) {
            filledSeen.push_back(AudioOut1->FilledCount());
            queuedSeen.push_back(AudioOut1->QueuedCount());
            sizes.push_back(Size);
            const std::size_t n = calls++;
            std::memset(Buffer, static_cast<int>(n + 1), static_cast<std::size_t>(Size));
            return n < answers.size() ? answers[n] : true;
        };
    }
    // The fill number of every buffer played so far.
    std::vector<int> playedFills() const {
        std::vector<int> v;
        for (const auto& b : driver->played()) v.push_back(b.data.empty() ? 0 : b.data[0]);
        return v;
    }

    std::size_t calls = 0;
    std::vector<std::int32_t> filledSeen, queuedSeen, sizes;
    std::vector<QObject*> starts, stops;
};

TEST_F(Player, StartPrimesEveryBufferThenEachReturnIsRefilledInRingOrder) {
    fillNumbered();
    ASSERT_TRUE(AudioOut1->Start(AudioOut1)) << AudioOut1->ErrorMessage();
    EXPECT_EQ(AudioOut1->FilledCount(), 4);
    EXPECT_EQ(AudioOut1->QueuedCount(), 4);
    EXPECT_EQ(AudioOut1->DoneCount(), 0);
    EXPECT_EQ(AudioOut1->NextBuffer(), 0);
    EXPECT_EQ(driver->heldBuffers(Direction::Output), 4);
    steps(6);
    EXPECT_EQ(filledSeen, (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(queuedSeen, (std::vector<std::int32_t>{0, 1, 2, 3, 3, 3, 3, 3, 3, 3}));
    EXPECT_EQ(playedFills(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(AudioOut1->NextBuffer(), 6 % 4);
    pump();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0], AudioOut1->CallBackWin());
}

TEST_F(Player, AShortenedBufferPlaysForItsLengthAndIsOfferedInFullNextTime) {
    fillNumbered();
    auto fill = AudioOut1->OnFillBuffer;
    AudioOut1->OnFillBuffer = [&](char* Buffer, std::int32_t& Size) {
        const bool r = fill(Buffer, Size);
        if (calls == 2) Size = 4096;  // the second fill: buffer 1 at half length
        return r;
    };
    ASSERT_TRUE(AudioOut1->Start(AudioOut1));
    steps(6);
    const auto& played = driver->played();
    ASSERT_EQ(played.size(), 6u);
    EXPECT_EQ(played[1].data.size(), 4096u);
    EXPECT_EQ(played[1].end - played[1].start, frameTime(6144, 22050) - frameTime(4096, 22050))
        << "half the time of a full buffer";
    EXPECT_EQ(played[5].data.size(), 8192u) << "buffer 1 again, at full length";
    EXPECT_EQ(sizes, std::vector<std::int32_t>(10, 8192));
}

TEST_F(Player, AnOwnerSizeOutsideTheBufferIsClampedBeforeTheDeviceReadsIt) {
    fillNumbered();
    auto fill = AudioOut1->OnFillBuffer;
    AudioOut1->OnFillBuffer = [&](char* Buffer, std::int32_t& Size) {
        const bool r = fill(Buffer, Size);
        if (calls == 1) Size = 1 << 20;  // far past the buffer
        if (calls == 2) Size = -2;
        return r;
    };
    ASSERT_TRUE(AudioOut1->Start(AudioOut1));
    steps(3);
    const auto& played = driver->played();
    ASSERT_GE(played.size(), 3u);  // the empty one takes no time
    EXPECT_EQ(played[0].data.size(), 8192u);
    EXPECT_EQ(played[1].data.size(), 0u);
    EXPECT_EQ(played[2].data.size(), 8192u);
}

TEST_F(Player, WithoutAFilledFirstBufferStartFailsAndLeavesThePlayerClosed) {
    EXPECT_FALSE(AudioOut1->Start(AudioOut1));  // no handler
    EXPECT_EQ(AudioOut1->ErrorMessage(), "There must be at least one filled buffer");
    EXPECT_FALSE(AudioOut1->DeviceOpen());
    fillNumbered({false});
    EXPECT_FALSE(AudioOut1->Start(AudioOut1));
    EXPECT_EQ(AudioOut1->ErrorMessage(), "There must be at least one filled buffer");
    EXPECT_EQ(calls, 1u) << "nothing more is offered";
    pump();
    EXPECT_EQ(starts.size(), 2u);
    EXPECT_EQ(stops.size(), 2u);
    EXPECT_EQ(driver->openStreams(Direction::Output), 0);
    EXPECT_TRUE(driver->played().empty());
}

TEST_F(Player, AStartWhilePlayingChangesNothingButTheErrorText) {
    fillNumbered();
    ASSERT_TRUE(AudioOut1->Start(AudioOut1));
    steps(2);
    auto* window = AudioOut1->CallBackWin();
    EXPECT_FALSE(AudioOut1->Start(AudioOut1));
    EXPECT_EQ(AudioOut1->ErrorMessage(), "Wave output device is already open");
    EXPECT_EQ(AudioOut1->CallBackWin(), window);
    EXPECT_EQ(AudioOut1->CallBackWinCount(), 1);
    EXPECT_EQ(AudioOut1->FilledCount(), 6);
    EXPECT_EQ(AudioOut1->DoneCount(), 2);
    EXPECT_EQ(AudioOut1->QueuedCount(), 4);
    EXPECT_EQ(calls, 6u);
}

TEST_F(Player, PauseHaltsAtOnceAndResumesWhereItStopped) {
    AudioOut1->SetPaused(true);  // closed: only stored
    EXPECT_TRUE(AudioOut1->Paused());
    fillNumbered();
    ASSERT_TRUE(AudioOut1->Start(AudioOut1));
    clock.advanceTo(clock.now() + 10 * platform::kNanosecondsPerSecond);
    pump();
    EXPECT_TRUE(driver->played().empty()) << "paused before the first write";
    EXPECT_EQ(AudioOut1->DoneCount(), 0);

    AudioOut1->SetPaused(false);
    const platform::Nanoseconds resumed = clock.now();
    steps(1);
    // Pause half-way through the second buffer for a long while.
    clock.advanceTo(clock.now() + (clock.now() - resumed) / 2);
    AudioOut1->SetPaused(true);
    clock.advanceTo(clock.now() + 60 * platform::kNanosecondsPerSecond);
    pump();
    EXPECT_EQ(AudioOut1->DoneCount(), 1);
    AudioOut1->SetPaused(false);
    steps(1);
    EXPECT_EQ(AudioOut1->DoneCount(), 2);
    const auto& second = driver->played()[1];
    EXPECT_EQ(second.data.size(), 8192u) << "nothing of it was lost";
    EXPECT_GT(second.end - second.start, 60 * platform::kNanosecondsPerSecond);
}

TEST_F(Player, StopWhenDrainedPlaysOutAndStopImmediatelySilencesAtOnce) {
    fillNumbered();
    ASSERT_TRUE(AudioOut1->Start(AudioOut1));
    steps(1);
    AudioOut1->StopWhenDrained();
    drain();
    EXPECT_EQ(playedFills(), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_FALSE(AudioOut1->DeviceOpen());
    EXPECT_EQ(AudioOut1->QueuedCount(), 0);
    EXPECT_EQ(stops.size(), 1u);

    driver->clearPlayed();
    calls = 0;
    ASSERT_TRUE(AudioOut1->Start(AudioOut1));
    clock.advanceTo(clock.now() + 1'000'000);
    AudioOut1->StopImmediately();
    EXPECT_FALSE(AudioOut1->DeviceOpen());
    EXPECT_EQ(driver->openStreams(Direction::Output), 0);
    pump();  // the four buffers the reset returned: counted, nothing refilled
    EXPECT_EQ(AudioOut1->DoneCount(), 4);
    EXPECT_EQ(AudioOut1->QueuedCount(), 0);
    EXPECT_EQ(calls, 4u);
    ASSERT_EQ(driver->played().size(), 1u);
    EXPECT_FALSE(driver->played()[0].complete);
    EXPECT_EQ(stops.size(), 2u);

    AudioOut1->StopWhenDrained();  // closed: nothing happens
    AudioOut1->StopImmediately();
    pump();
    EXPECT_EQ(stops.size(), 2u);
}

TEST_F(Player, ARestartHasFreshCountersANewWindowAndStartsAtBufferZero) {
    fillNumbered();
    ASSERT_TRUE(AudioOut1->Start(AudioOut1));
    steps(3);
    AudioOut1->StopWhenDrained();
    drain();
    ASSERT_FALSE(AudioOut1->DeviceOpen());
    auto* oldWindow = AudioOut1->CallBackWin();
    filledSeen.clear();
    ASSERT_TRUE(AudioOut1->Start(AudioOut1));
    EXPECT_NE(AudioOut1->CallBackWin(), oldWindow);
    EXPECT_EQ(filledSeen.front(), 0) << "the first fill sees FilledCount 0";
    EXPECT_EQ(AudioOut1->DoneCount(), 0);
    EXPECT_EQ(AudioOut1->NextBuffer(), 0);
    pump();
    EXPECT_EQ(AudioOut1->CallBackWinCount(), 1);
}

TEST_F(Player, EachDeclinedBufferLeavesOneFewerWithTheDeviceAndTheRingRunsBehind) {
    // Fills 1-4 prime; fill 5 (for buffer 0) is declined.
    fillNumbered({true, true, true, true, false});
    ASSERT_TRUE(AudioOut1->Start(AudioOut1));
    steps(1);
    EXPECT_EQ(AudioOut1->NextBuffer(), 0) << "stays on the declined buffer";
    EXPECT_EQ(AudioOut1->QueuedCount(), 3);
    steps(5);
    EXPECT_EQ(driver->heldBuffers(Direction::Output), 3);
    EXPECT_EQ(AudioOut1->QueuedCount(), 3);
    // Buffer 0 was offered again at the next return (fill 6) and written then;
    // nothing declined was ever played.
    EXPECT_EQ(playedFills(), (std::vector<int>{1, 2, 3, 4, 6, 7}));
}

TEST_F(Player, WhenTheLastBufferComesBackTheDeviceClosesEvenIfItsRefillWasWritten) {
    AudioOut1->SetNumBuffers(2);
    fillNumbered({true, true, false, true});
    ASSERT_TRUE(AudioOut1->Start(AudioOut1));
    steps(2);  // fill 3 declined; at the next return nothing else is with the device
    EXPECT_FALSE(AudioOut1->DeviceOpen());
    EXPECT_EQ(AudioOut1->QueuedCount(), 1) << "fill 4 was written and still plays";
    pump();
    EXPECT_TRUE(stops.empty()) << "the close waits for that buffer";
    steps(1);
    EXPECT_EQ(stops.size(), 1u);
    EXPECT_EQ(driver->openStreams(Direction::Output), 0);
    EXPECT_EQ(playedFills(), (std::vector<int>{1, 2, 4}));
}

TEST_F(Player, RefusedDeviceCallsLeaveTheirTextAndAPlayerThatDrainsAndCloses) {
    fillNumbered();
    AudioOut1->SetFrameRate(12345);
    EXPECT_FALSE(AudioOut1->Start(AudioOut1));
    EXPECT_EQ(AudioOut1->ErrorMessage(), text(WAVERR_BADFORMAT));
    AudioOut1->SetFrameRate(22050);

    driver->injectFault(SimCall::Prepare, MMSYSERR_NOMEM, 3);
    EXPECT_FALSE(AudioOut1->Start(AudioOut1));
    EXPECT_EQ(AudioOut1->ErrorMessage(), text(MMSYSERR_NOMEM));
    EXPECT_FALSE(AudioOut1->DeviceOpen());

    driver->injectFault(SimCall::Submit, MMSYSERR_ERROR);  // the first write
    EXPECT_FALSE(AudioOut1->Start(AudioOut1));
    EXPECT_EQ(AudioOut1->ErrorMessage(), text(MMSYSERR_ERROR));
    EXPECT_FALSE(AudioOut1->DeviceOpen());
    EXPECT_FALSE(AudioOut1->Streaming());
    EXPECT_EQ(driver->openStreams(Direction::Output), 0);

    // A write refused while playing: the buffers with the device play out, then
    // the device closes (the refused buffer is not waited for).
    ASSERT_TRUE(AudioOut1->Start(AudioOut1)) << AudioOut1->ErrorMessage();
    driver->injectFault(SimCall::Submit, WAVERR_SYNC);
    steps(1);
    EXPECT_EQ(AudioOut1->ErrorMessage(), text(WAVERR_SYNC));
    EXPECT_EQ(AudioOut1->QueuedCount(), 3);
    drain();
    EXPECT_FALSE(AudioOut1->DeviceOpen());
    EXPECT_EQ(AudioOut1->QueuedCount(), 0);
    EXPECT_EQ(driver->openStreams(Direction::Output), 0);
    pump();
    EXPECT_EQ(stops.size(), starts.size());

    // A write refused while starting, after the first: what was written plays out.
    driver->clearPlayed();
    calls = 0;
    driver->injectFault(SimCall::Submit, MMSYSERR_ERROR, 2);
    EXPECT_TRUE(AudioOut1->Start(AudioOut1));
    EXPECT_EQ(AudioOut1->QueuedCount(), 2);
    drain();
    EXPECT_FALSE(AudioOut1->DeviceOpen());
    EXPECT_EQ(playedFills(), (std::vector<int>{1, 2}));
}

}  // namespace
}  // namespace audio_test
