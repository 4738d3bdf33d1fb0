#include "generator/sine_fill.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace generator {
namespace {

constexpr std::int32_t kRate = 22050;
constexpr std::int32_t kBufferBytes = 8192;

std::vector<std::int16_t> fill(std::int32_t filledCount, std::int32_t amplitude, std::int32_t frequency,
                               std::int32_t bytes = kBufferBytes) {
    std::vector<char> buffer(static_cast<std::size_t>(bytes), '\x55');
    std::int32_t size = bytes;
    EXPECT_TRUE(FillSine(buffer.data(), size, filledCount, kRate, amplitude, frequency));
    EXPECT_EQ(size, bytes);
    std::vector<std::int16_t> samples(static_cast<std::size_t>(bytes / 2));
    for (std::size_t s = 0; s < samples.size(); ++s) {
        const auto lo = static_cast<unsigned char>(buffer[2 * s]);
        const auto hi = static_cast<unsigned char>(buffer[2 * s + 1]);
        samples[s] = static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | hi << 8));
    }
    return samples;
}

// One second of consecutive buffers, as the player asks for them.
std::vector<std::int16_t> stream(std::int32_t amplitude, std::int32_t frequency, std::int32_t buffers) {
    std::vector<std::int16_t> all;
    for (std::int32_t b = 0; b < buffers; ++b) {
        const auto part = fill(b, amplitude, frequency);
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// Frequency from the upward zero crossings: whole periods between the first
// and the last crossing over the samples between them.
double measuredFrequency(const std::vector<std::int16_t>& v) {
    std::vector<std::size_t> crossings;
    for (std::size_t i = 1; i < v.size(); ++i) {
        if (v[i - 1] < 0 && v[i] >= 0) crossings.push_back(i);
    }
    if (crossings.size() < 2) return 0;
    return static_cast<double>(crossings.size() - 1) * kRate / static_cast<double>(crossings.back() - crossings.front());
}

TEST(SineFill, AmplitudeZeroIsSilence) {
    for (const std::int16_t s : fill(3, 0, 50)) ASSERT_EQ(s, 0);
}

TEST(SineFill, PlaysTheSetFrequencyAcrossBufferJoins) {
    for (const std::int32_t hz : {52, 53, 1000}) {
        const auto all = stream(22400, hz, 6);  // 24576 samples, a little over a second
        EXPECT_NEAR(measuredFrequency(all), hz, 0.1) << hz;
        int largestStep = 0, peak = 0;
        for (std::size_t i = 1; i < all.size(); ++i) {
            largestStep = std::max(largestStep, std::abs(all[i] - all[i - 1]));
            peak = std::max(peak, static_cast<int>(all[i]));
        }
        // No jump at the joins: no step larger than the sine's steepest slope.
        EXPECT_LE(largestStep, static_cast<int>(std::ceil(22400 * 2 * 3.14159 * hz / kRate)) + 1) << hz;
        EXPECT_GE(peak, hz == 1000 ? 22000 : 22399);
        EXPECT_LE(peak, 22400);
    }
}

TEST(SineFill, SampleIsAFunctionOfTheAbsoluteIndex) {
    const auto first = fill(5, 1000, 440);
    for (std::size_t s = 0; s < first.size(); ++s) {
        ASSERT_EQ(first[s], SineSample(static_cast<std::int32_t>(5 * 4096 + s), kRate, 1000, 440));
    }
    EXPECT_EQ(SineSample(0, kRate, 22400, 50), 0);
    // Only the low 16 bits are kept: 70000 near the crest stores 70000 - 65536.
    const int crest = static_cast<int>(std::nearbyintl(std::sin(5.0L / kRate * 3.14159L * 2 * 1102) * 70000));
    EXPECT_EQ(SineSample(5, kRate, 70000, 1102), static_cast<std::int16_t>(crest - 65536));
    EXPECT_EQ(SineSample(7, 0, 22400, 50), 0);  // no frame rate, no signal
}

TEST(SineFill, SampleIndexWrapsAfterTwoToTheThirtyOne) {
    // 524288 * 4096 = 2^31: the buffer after 524287 starts at -2^31.
    EXPECT_EQ(SampleIndex(524287, 4096, 4095), INT32_MAX);
    EXPECT_EQ(SampleIndex(524288, 4096, 0), INT32_MIN);
    EXPECT_EQ(SampleIndex(INT32_MAX, 4096, 4095), -1);
    EXPECT_EQ(SampleIndex(-1, 4096, 0), -4096);

    const auto before = fill(524287, 22400, 50);
    const auto after = fill(524288, 22400, 50);
    EXPECT_EQ(before.back(), SineSample(INT32_MAX, kRate, 22400, 50));
    for (std::size_t s = 0; s < after.size(); s += 97) {
        ASSERT_EQ(after[s], SineSample(INT32_MIN + static_cast<std::int32_t>(s), kRate, 22400, 50));
    }
}

TEST(SineFill, OddAndEmptySizes) {
    std::vector<char> buffer(5, '\x7f');
    std::int32_t size = 5;  // two samples, the last byte untouched
    EXPECT_TRUE(FillSine(buffer.data(), size, 0, kRate, 0, 50));
    EXPECT_EQ(size, 5);
    EXPECT_EQ(buffer, (std::vector<char>{0, 0, 0, 0, '\x7f'}));
    std::int32_t none = 0;
    EXPECT_TRUE(FillSine(nullptr, none, 0, kRate, 100, 50));
    std::int32_t some = 8;
    EXPECT_FALSE(FillSine(nullptr, some, 0, kRate, 100, 50));
}

TEST(SineFill, TheFastRouteGivesTheLiteralSamplesBitForBit) {
    // Random indices over the whole 32-bit range (the wrap and negative indices
    // included), every frequency the track bar can set and amplitudes up to the
    // largest 32-bit one, against the extended sine written out literally.
    std::uint64_t seed = 0x9E3779B97F4A7C15u;
    const auto next = [&seed] {
        seed ^= seed << 13, seed ^= seed >> 7, seed ^= seed << 17;
        return seed;
    };
    const std::int32_t amplitudes[] = {0, 1, 7, 70, 4321, 22400, 32767, 1 << 20, INT32_MAX, -22400};
    long mismatches = 0;
    for (int i = 0; i < 200000; ++i) {
        const auto index = static_cast<std::int32_t>(static_cast<std::uint32_t>(next()));
        const auto frequency = static_cast<std::int32_t>(20 + next() % 981);
        const std::int32_t amplitude = amplitudes[next() % std::size(amplitudes)];
        if (SineSample(index, kRate, amplitude, frequency) != SineSampleReference(index, kRate, amplitude, frequency))
            ++mismatches;
    }
    // The first ten seconds at the start amplitude and the two loudest, as played.
    for (const std::int32_t amplitude : {70, 22400}) {
        for (std::int32_t index = 0; index < 10 * kRate; ++index) {
            if (SineSample(index, kRate, amplitude, 53) != SineSampleReference(index, kRate, amplitude, 53))
                ++mismatches;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace generator
