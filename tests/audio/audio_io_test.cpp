// The shared base: defaults, property clamps, the format record, and the
// buffer pool with its allocation failures.
#include "audio_fixture.h"

#include <vector>

namespace audio_test {
namespace {

using platform::win::GlobalSize;

class AudioIO : public AudioFixture {};

TEST_F(AudioIO, ANewComponentHasTheDefaultsAndFourBuffersOf8192Bytes) {
    AudioOut1 = new audio::TAudioOut(&owner);
    EXPECT_EQ(AudioOut1->BufferSize(), 8192);
    EXPECT_EQ(AudioOut1->NumBuffers(), 4);
    EXPECT_EQ(AudioOut1->FrameRate(), 22050);
    EXPECT_FALSE(AudioOut1->Stereo());
    EXPECT_EQ(AudioOut1->Quantization(), 16);
    EXPECT_FALSE(AudioOut1->Paused());
    EXPECT_EQ(AudioOut1->ErrorMessage(), "");
    const auto& f = AudioOut1->Format();
    EXPECT_EQ(f.wFormatTag, 1);
    EXPECT_EQ(f.nBlockAlign, 2);
    EXPECT_EQ(f.nAvgBytesPerSec, 44100u);
    EXPECT_EQ(f.cbSize, 0);
    for (int i = 0; i < 4; ++i) {
        ASSERT_NE(AudioOut1->Buffer(i), nullptr);
        EXPECT_EQ(GlobalSize(AudioOut1->BufferHandle(i)), 8192u);
        ASSERT_NE(AudioOut1->Header(i), nullptr);
        EXPECT_EQ(AudioOut1->Header(i)->lpData, AudioOut1->Buffer(i));
    }
    EXPECT_EQ(platform::win::liveGlobalBlocks(), blocksBefore + 8);
    delete AudioOut1;
    EXPECT_EQ(platform::win::liveGlobalBlocks(), blocksBefore) << "everything is released";
}

TEST_F(AudioIO, PropertiesClampAndBufferSizeIsAWholeNumberOfFrames) {
    AudioIn1 = new audio::TAudioIn(&owner);
    struct Format {
        bool stereo;
        std::uint16_t bits;
    };
    for (Format f : {Format{false, 8}, Format{false, 16}, Format{true, 8}, Format{true, 16}}) {
        AudioIn1->SetStereo(f.stereo);
        AudioIn1->SetQuantization(f.bits);
        AudioIn1->SetBufferSize(100);
        EXPECT_EQ(AudioIn1->BufferSize(), 512);
    }
    // 16-bit stereo: four bytes a frame.
    AudioIn1->SetBufferSize(10001);
    EXPECT_EQ(AudioIn1->BufferSize(), 10000);
    AudioIn1->SetBufferSize(10003);
    EXPECT_EQ(AudioIn1->BufferSize(), 10000);
    EXPECT_EQ(AudioIn1->RequestedBufferSize(), 10003);
    // A format change recomputes the effective size from the requested one.
    AudioIn1->SetStereo(false);
    AudioIn1->SetQuantization(8);
    EXPECT_EQ(AudioIn1->BufferSize(), 10003);
    AudioIn1->SetBufferSize(10001);
    EXPECT_EQ(AudioIn1->BufferSize(), 10001);

    for (int n : {0, 1, -1, -2147483647 - 1}) {
        AudioIn1->SetNumBuffers(n);
        EXPECT_EQ(AudioIn1->NumBuffers(), 2) << n;
    }
    AudioIn1->SetNumBuffers(3);
    EXPECT_EQ(AudioIn1->NumBuffers(), 3);
    for (int n : {5, 100, 2147483647}) {
        AudioIn1->SetNumBuffers(n);
        EXPECT_EQ(AudioIn1->NumBuffers(), 4) << n;
    }
    for (std::uint16_t q : {0, 1, 8}) {
        AudioIn1->SetQuantization(q);
        EXPECT_EQ(AudioIn1->Quantization(), 8) << q;
    }
    for (std::uint16_t q : {9, 12, 24, 65535}) {
        AudioIn1->SetQuantization(q);
        EXPECT_EQ(AudioIn1->Quantization(), 16) << q;
    }

    AudioIn1->SetFrameRate(44100);
    AudioIn1->SetStereo(true);
    AudioIn1->SetQuantization(16);
    EXPECT_EQ(AudioIn1->Format().nBlockAlign, 4);
    EXPECT_EQ(AudioIn1->Format().nAvgBytesPerSec, 176400u);
    EXPECT_TRUE(AudioIn1->Stereo());
    AudioIn1->SetFrameRate(22050);
    AudioIn1->SetStereo(false);
    EXPECT_EQ(AudioIn1->Format().nBlockAlign, 2);
    EXPECT_EQ(AudioIn1->Format().nAvgBytesPerSec, 44100u);
    AudioIn1->SetFrameRate(-1);  // no range test here; the device refuses it
    EXPECT_EQ(AudioIn1->FrameRate(), -1);
    EXPECT_FALSE(AudioIn1->Start(AudioIn1));
    EXPECT_EQ(AudioIn1->ErrorMessage(), text(platform::wave::WAVERR_BADFORMAT));
}

TEST_F(AudioIO, FewerBuffersInUseLeaveAllFourAllocated) {
    AudioIn1 = new audio::TAudioIn(&owner);
    AudioIn1->SetBufferSize(4000);
    AudioIn1->SetNumBuffers(2);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(GlobalSize(AudioIn1->BufferHandle(i)), 4000u);
    ASSERT_TRUE(AudioIn1->Start(AudioIn1));
    EXPECT_EQ(driver->heldBuffers(Direction::Input), 2);
    EXPECT_EQ(AudioIn1->Header(2)->dwFlags, 0u) << "not prepared: not in use";
    // Raising NumBuffers later needs no allocation: the slots exist.
    AudioIn1->StopImmediately();
    AudioIn1->SetNumBuffers(4);
    ASSERT_TRUE(AudioIn1->Start(AudioIn1));
    EXPECT_EQ(driver->heldBuffers(Direction::Input), 4);
}

TEST_F(AudioIO, AFailedAllocationLeavesItsTextAndAnEmptyPoolThatTheNextOpenRefills) {
    // Creation allocates the four headers, then the four buffers.
    struct Case {
        void (*arm)(int);
        int nth;
        const char* text;
        bool headersFailed;
    };
    const Case cases[] = {
        {platform::win::failGlobalAlloc, 2, "Error allocating wave header memory", true},
        {platform::win::failGlobalLock, 4, "Could not lock header memory for recording", true},
        {platform::win::failGlobalAlloc, 7, "Error allocating wave buffer memory", false},
        {platform::win::failGlobalLock, 5, "Error Locking wave buffer memory", false},
    };
    for (const Case& c : cases) {
        c.arm(c.nth);
        auto* out = new audio::TAudioOut(&owner);
        EXPECT_EQ(out->ErrorMessage(), c.text);
        // All of a kind or none of it: the other kind is complete.
        EXPECT_EQ(platform::win::liveGlobalBlocks(), blocksBefore + 4) << c.text;
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(out->Header(i) == nullptr, c.headersFailed) << c.text;
            EXPECT_EQ(out->Buffer(i) == nullptr, !c.headersFailed) << c.text;
        }
        // The next open makes the pool whole and plays.
        out->OnFillBuffer = [](char*, std::int32_t&) { return true; };
        AudioOut1 = out;
        EXPECT_TRUE(out->Start(AudioOut1)) << out->ErrorMessage();
        EXPECT_EQ(platform::win::liveGlobalBlocks(), blocksBefore + 8);
        delete out;
        AudioOut1 = nullptr;
        EXPECT_EQ(platform::win::liveGlobalBlocks(), blocksBefore);
    }

    // A failure in the BufferSize setter: the buffers are gone until the next open,
    // which refuses while allocation keeps failing.
    AudioIn1 = new audio::TAudioIn(&owner);
    platform::win::failGlobalAlloc(3);
    AudioIn1->SetBufferSize(20000);
    EXPECT_EQ(AudioIn1->ErrorMessage(), "Error allocating wave buffer memory");
    EXPECT_EQ(AudioIn1->Buffer(0), nullptr);
    platform::win::failGlobalAlloc(1);
    EXPECT_FALSE(AudioIn1->Start(AudioIn1));
    EXPECT_FALSE(AudioIn1->DeviceOpen());
    EXPECT_EQ(driver->openStreams(Direction::Input), 0);
    ASSERT_TRUE(AudioIn1->Start(AudioIn1));
    EXPECT_EQ(GlobalSize(AudioIn1->BufferHandle(3)), 20000u);
}

}  // namespace
}  // namespace audio_test
