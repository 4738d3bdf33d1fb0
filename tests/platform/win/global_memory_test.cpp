// Global memory: the blocks the audio components hold their buffers in.
#include "platform/win/global_memory.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(GlobalMemory, BlocksAreZeroedStableAndCountedAndFaultsHitTheNthCall) {
    using namespace platform::win;
    const std::size_t before = liveGlobalBlocks();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, 100);
    ASSERT_NE(h, nullptr);
    auto* p = static_cast<unsigned char*>(GlobalLock(h));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(std::vector<unsigned char>(p, p + 100), std::vector<unsigned char>(100, 0));
    EXPECT_EQ(GlobalLock(h), p) << "a block never moves";
    EXPECT_TRUE(GlobalUnlock(h)) << "still locked once";
    EXPECT_FALSE(GlobalUnlock(h));
    EXPECT_EQ(GlobalSize(h), 100u);
    EXPECT_EQ(liveGlobalBlocks(), before + 1);
    EXPECT_EQ(GlobalFree(h), nullptr);
    EXPECT_EQ(GlobalFree(h), h) << "an unknown handle is refused";
    EXPECT_EQ(GlobalLock(h), nullptr);
    EXPECT_EQ(liveGlobalBlocks(), before);

    failGlobalAlloc(2);
    HGLOBAL a = GlobalAlloc(0, 8);
    EXPECT_NE(a, nullptr);
    EXPECT_EQ(GlobalAlloc(0, 8), nullptr);
    HGLOBAL b = GlobalAlloc(0, 8);
    EXPECT_NE(b, nullptr) << "one failure only";
    failGlobalLock(1);
    EXPECT_EQ(GlobalLock(a), nullptr);
    EXPECT_NE(GlobalLock(a), nullptr);
    GlobalFree(a);
    GlobalFree(b);
    EXPECT_EQ(liveGlobalBlocks(), before);
}

}  // namespace
