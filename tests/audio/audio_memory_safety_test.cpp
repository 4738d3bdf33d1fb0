// The driver never touches freed or too-small memory, and notifications of an
// earlier open never act on a later one. Run under ASan/UBSan to mean anything.
#include "audio_fixture.h"

#include <cstring>
#include <vector>

namespace audio_test {
namespace {

using namespace platform::wave;

class MemorySafety : public AudioFixture {
protected:
    void makeRecorder() {
        AudioIn1 = new audio::TAudioIn(&owner);
        AudioIn1->SetFrameRate(44100);
        AudioIn1->SetStereo(true);
        AudioIn1->SetBufferSize(10000);
        AudioIn1->SetNumBuffers(2);
        AudioIn1->OnBufferFilled = [this](char* Buffer, std::int32_t& Size) {
            std::memset(Buffer, 0x55, static_cast<std::size_t>(Size));  // touches every byte offered
            recordedSizes.push_back(Size);
            for (int i = 0; i < 4; ++i)
                if (AudioIn1->Header(i)->lpData == Buffer)
                    recordedBytes.push_back(AudioIn1->Header(i)->dwBytesRecorded);
            return true;
        };
    }
    void makePlayer(std::vector<bool> answers = {}) {
        AudioOut1 = new audio::TAudioOut(&owner);
        AudioOut1->OnFillBuffer = [this, answers](char* Buffer, std::int32_t& Size) {
            std::memset(Buffer, 0x33, static_cast<std::size_t>(Size));
            const std::size_t n = fills++;
            return n < answers.size() ? answers[n] : true;
        };
        AudioOut1->OnStop = [this](QObject*) { ++playerStops; };
    }

    std::vector<std::int32_t> recordedSizes;
    std::vector<platform::win::DWORD> recordedBytes;
    std::size_t fills = 0;
    int playerStops = 0;
};

TEST_F(MemorySafety, DestroyingAComponentWhileItsDeviceRunsStopsTheDeviceFirst) {
    makeRecorder();
    makePlayer();
    ASSERT_TRUE(AudioIn1->Start(AudioIn1));
    ASSERT_TRUE(AudioOut1->Start(AudioOut1));
    steps(3);
    delete AudioIn1;  // the owner's variables still point at them
    delete AudioOut1;
    EXPECT_EQ(driver->openStreams(Direction::Input), 0);
    EXPECT_EQ(driver->openStreams(Direction::Output), 0);
    EXPECT_EQ(platform::win::liveGlobalBlocks(), blocksBefore);
    drain();  // late notifications go nowhere
    EXPECT_FALSE(clock.nextDeadline().has_value());
    AudioIn1 = nullptr;
    AudioOut1 = nullptr;
}

TEST_F(MemorySafety, DestroyingAPlayerWhoseCloseWaitsForAPlayingBufferEndsThatDevice) {
    AudioOut1 = nullptr;
    makePlayer({true, true, false, true});
    AudioOut1->SetNumBuffers(2);
    ASSERT_TRUE(AudioOut1->Start(AudioOut1));
    steps(2);
    ASSERT_FALSE(AudioOut1->DeviceOpen());
    ASSERT_EQ(driver->openStreams(Direction::Output), 1) << "the close waits for the last buffer";
    delete AudioOut1;
    AudioOut1 = nullptr;
    EXPECT_EQ(driver->openStreams(Direction::Output), 0);
    EXPECT_EQ(platform::win::liveGlobalBlocks(), blocksBefore);
    drain();
}

TEST_F(MemorySafety, AStartWhileACloseWaitsDoesNotOpenASecondDeviceOnTheSameBuffers) {
    makePlayer({true, true, false, true});
    AudioOut1->SetNumBuffers(2);
    ASSERT_TRUE(AudioOut1->Start(AudioOut1));
    steps(2);
    ASSERT_FALSE(AudioOut1->DeviceOpen());
    ASSERT_EQ(driver->heldBuffers(Direction::Output), 1);
    // The simulated device takes one stream at a time: a second open would fail.
    ASSERT_TRUE(AudioOut1->Start(AudioOut1)) << AudioOut1->ErrorMessage();
    EXPECT_EQ(driver->openStreams(Direction::Output), 1);
    EXPECT_EQ(AudioOut1->DoneCount(), 0);
    EXPECT_EQ(AudioOut1->QueuedCount(), 2);
    pump();  // the old device's reset buffer and close arrive at the old window
    EXPECT_EQ(AudioOut1->DoneCount(), 0) << "the old buffer is not counted in the new open";
    EXPECT_EQ(playerStops, 1);
    steps(2);
    EXPECT_EQ(AudioOut1->DoneCount(), 2);
    EXPECT_TRUE(AudioOut1->DeviceOpen());
    EXPECT_EQ(AudioOut1->CallBackWinCount(), 1) << "the old window is released after its close";
}

TEST_F(MemorySafety, LateReturnsOfAnEarlierOpenNeverActOnTheNextOne) {
    makeRecorder();
    makePlayer();
    ASSERT_TRUE(AudioIn1->Start(AudioIn1));
    ASSERT_TRUE(AudioOut1->Start(AudioOut1));
    steps(2);
    // Stop and start again before the reset buffers have been delivered.
    AudioIn1->StopImmediately();
    AudioOut1->StopImmediately();
    recordedSizes.clear();
    fills = 0;
    ASSERT_TRUE(AudioIn1->Start(AudioIn1));
    ASSERT_TRUE(AudioOut1->Start(AudioOut1));
    pump();
    EXPECT_EQ(AudioIn1->DoneCount(), 0);
    EXPECT_EQ(AudioIn1->QueuedCount(), 2);
    EXPECT_EQ(AudioIn1->NextBuffer(), 0);
    EXPECT_TRUE(recordedSizes.empty());
    EXPECT_EQ(AudioOut1->DoneCount(), 0);
    EXPECT_EQ(AudioOut1->QueuedCount(), 4);
    EXPECT_EQ(fills, 4u) << "only the priming of the new open";
    EXPECT_TRUE(AudioIn1->DeviceOpen());
    EXPECT_TRUE(AudioOut1->DeviceOpen());
    steps(2);
    EXPECT_EQ(AudioIn1->FilledCount() + AudioOut1->DoneCount(), 2);
}

TEST_F(MemorySafety, BufferSizeAssignedWhileOpenIsKeptForTheNextOpen) {
    makeRecorder();
    ASSERT_TRUE(AudioIn1->Start(AudioIn1));
    steps(1);
    AudioIn1->SetBufferSize(20000);
    EXPECT_EQ(AudioIn1->BufferSize(), 10000);
    EXPECT_EQ(AudioIn1->ErrorMessage(),
              "BufferSize cannot change while the device is open; the new size applies at the next open");
    EXPECT_EQ(platform::win::GlobalSize(AudioIn1->BufferHandle(0)), 10000u);
    steps(2);
    AudioIn1->StopImmediately();
    pump();
    ASSERT_TRUE(AudioIn1->Start(AudioIn1));
    EXPECT_EQ(AudioIn1->BufferSize(), 20000);
    EXPECT_EQ(platform::win::GlobalSize(AudioIn1->BufferHandle(0)), 20000u);
    steps(2);
    EXPECT_EQ(recordedSizes, (std::vector<std::int32_t>{10000, 10000, 10000, 20000, 20000}));
}

TEST_F(MemorySafety, AFormatChangeThatRaisesBufferSizeStaysInsideTheBuffers) {
    makeRecorder();
    AudioIn1->SetBufferSize(10002);  // 16-bit stereo: 10000 effective
    ASSERT_TRUE(AudioIn1->Start(AudioIn1));
    steps(1);
    AudioIn1->SetStereo(false);
    AudioIn1->SetQuantization(8);  // one byte a frame: 10002 effective
    steps(2);
    // The handler sees BufferSize, whatever the device recorded, and writes all of it.
    EXPECT_EQ(recordedSizes, (std::vector<std::int32_t>{10000, 10002, 10002}));
    EXPECT_EQ(recordedBytes, (std::vector<platform::win::DWORD>{10000, 10000, 10000}));
}

TEST_F(MemorySafety, NumBuffersChangedWhileOpenTakesEffectAtTheNextOpen) {
    makeRecorder();
    AudioIn1->SetNumBuffers(4);
    ASSERT_TRUE(AudioIn1->Start(AudioIn1));
    steps(1);
    AudioIn1->SetNumBuffers(2);
    steps(6);
    EXPECT_EQ(AudioIn1->ErrorMessage(), "");
    EXPECT_EQ(AudioIn1->QueuedCount(), 4);
    EXPECT_EQ(AudioIn1->NextBuffer(), 7 % 4);
    AudioIn1->StopImmediately();
    pump();
    ASSERT_TRUE(AudioIn1->Start(AudioIn1));
    EXPECT_EQ(driver->heldBuffers(Direction::Input), 2);
}

}  // namespace
}  // namespace audio_test
