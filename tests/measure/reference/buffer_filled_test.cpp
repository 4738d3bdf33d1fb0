#include "measure/reference/buffer_filled.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

std::vector<char> pcmBlock(std::size_t bytes) {
    std::vector<char> block(bytes);
    for (std::size_t i = 0; i < bytes; ++i) block[i] = static_cast<char>(i * 7 + 3);
    return block;
}

std::int32_t sampleAt(const std::vector<char>& block, std::size_t k) {
    const auto lo = static_cast<unsigned char>(block[2 * k]);
    const auto hi = static_cast<unsigned char>(block[2 * k + 1]);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
}

TEST(AudioIn1BufferFilled, CopiesSignExtendedSamplesOfTheBlockOnly) {
    auto state = std::make_unique<measure::MeasurementState>();
    state->Samples1.fill(77);
    auto block = pcmBlock(10000);
    block[0] = static_cast<char>(0x00);
    block[1] = static_cast<char>(0x80);  // -32768
    block[2] = static_cast<char>(0xFF);
    block[3] = static_cast<char>(0x7F);  // 32767
    std::int32_t size = 10000;
    EXPECT_TRUE(measure::AudioIn1BufferFilled(*state, block.data(), size));
    EXPECT_EQ(size, 10000);
    EXPECT_EQ(state->Samples1[0], -32768);
    EXPECT_EQ(state->Samples1[1], 32767);
    for (std::size_t k = 2; k < 5000; ++k) ASSERT_EQ(state->Samples1[k], sampleAt(block, k)) << k;
    EXPECT_EQ(state->Samples1[5000], 77);
    EXPECT_EQ(state->Samples1[44099], 77);

    // An odd length copies Size div 2 samples; the last byte is ignored.
    state->Samples1.fill(0);
    auto odd = pcmBlock(7);
    size = 7;
    EXPECT_TRUE(measure::AudioIn1BufferFilled(*state, odd.data(), size));
    EXPECT_EQ(state->Samples1[2], sampleAt(odd, 2));
    EXPECT_EQ(state->Samples1[3], 0);
}

TEST(AudioIn1BufferFilled, ABlockLargerThanTheArrayIsCutToIt) {
    auto state = std::make_unique<measure::MeasurementState>();
    const std::size_t bytes = 2 * measure::kWorkingArraySize + 1000;
    auto block = pcmBlock(bytes);
    std::int32_t size = static_cast<std::int32_t>(bytes);
    EXPECT_TRUE(measure::AudioIn1BufferFilled(*state, block.data(), size));
    EXPECT_EQ(size, static_cast<std::int32_t>(bytes));
    EXPECT_EQ(state->Samples1[measure::kWorkingArraySize - 1], sampleAt(block, measure::kWorkingArraySize - 1));
    // The neighbouring array is untouched (ASan would also catch a write past the end).
    for (auto v : state->FilteredCurrent) ASSERT_EQ(v, 0);

    std::int32_t negative = -4;
    EXPECT_TRUE(measure::AudioIn1BufferFilled(*state, block.data(), negative));
}

}  // namespace
