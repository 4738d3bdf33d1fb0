#include "measure/reference/buffer_filled.h"
#include "measure/reference/channel_measurement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace measure {
namespace {

constexpr std::int32_t kBlockBytes = 10000;

// A recorder block of 2500 stereo frames, 16-bit little endian.
std::vector<char> stereoBlock(const std::vector<std::int16_t>& left, const std::vector<std::int16_t>& right) {
    std::vector<char> bytes;
    for (std::size_t i = 0; i < left.size(); ++i) {
        for (const std::int16_t v : {left[i], right[i]}) {
            const auto u = static_cast<std::uint16_t>(v);
            bytes.push_back(static_cast<char>(u & 0xFF));
            bytes.push_back(static_cast<char>(u >> 8));
        }
    }
    return bytes;
}

std::vector<std::int16_t> sine(double peak, double hz, std::size_t frames = 2500) {
    std::vector<std::int16_t> v(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        v[i] = static_cast<std::int16_t>(std::lround(peak * std::sin(2 * M_PI * hz * static_cast<double>(i) / 44100)));
    }
    return v;
}

void record(MeasurementState& state, const std::vector<char>& block) {
    std::int32_t size = static_cast<std::int32_t>(block.size());
    AudioIn1BufferFilled(state, block.data(), size);
}

// The algorithm step by step as stated: copy, in-place smoothing with
// extended-precision terms truncated towards zero, sum over 1..n.
double referenceValue(const WorkingArray& samples, WorkingArray& f, int c, int d, int n, bool current) {
    for (int k = 0; k < n; ++k) f[static_cast<std::size_t>(k)] = samples[static_cast<std::size_t>(2 * k + c)];
    for (int k = 1; k <= n; ++k) {
        const long double x = f[static_cast<std::size_t>(k)];
        const long double p = f[static_cast<std::size_t>(k - 1)];
        f[static_cast<std::size_t>(k)] = static_cast<std::int32_t>(std::trunc(x / d + p - p / d));
    }
    double s = 0;
    for (int k = 1; k <= n; ++k) s += std::pow(static_cast<double>(f[static_cast<std::size_t>(k)]), 2);
    if (s == 0) return 0;
    const long double r = std::sqrt(static_cast<long double>(s) / n);
    return current ? static_cast<double>(r * static_cast<long double>(0.0142))
                   : static_cast<double>(std::fabs(r * 37 - 80) / 24);
}

TEST(ChannelMeasurement, SilenceReadsZero) {
    auto state = std::make_unique<MeasurementState>();
    EXPECT_EQ(MeasureVoltage(*state, kBlockBytes), "0.00 V");
    EXPECT_EQ(MeasureCurrent(*state, kBlockBytes), "  0");
    EXPECT_EQ(state->VoltmeterValue, 0.0);  // not the 80/24 mV of the formula at r = 0
    EXPECT_EQ(state->AmmeterValue, 0.0);
}

TEST(ChannelMeasurement, FullScaleSineOnEachChannel) {
    auto state = std::make_unique<MeasurementState>();
    const auto full = sine(32767, 50);
    const std::vector<std::int16_t> silent(2500, 0);

    record(*state, stereoBlock(full, silent));
    const std::string voltage = MeasureVoltage(*state, kBlockBytes);
    const std::string current = MeasureCurrent(*state, kBlockBytes);
    // The mean runs over 5000 values, half of them the zeros past the block.
    EXPECT_NEAR(state->AmmeterValue, 235, 1);
    EXPECT_EQ(current, std::to_string(std::lround(state->AmmeterValue)));
    EXPECT_EQ(voltage, "0.00 V");

    record(*state, stereoBlock(silent, full));
    const std::string voltage2 = MeasureVoltage(*state, kBlockBytes);
    MeasureCurrent(*state, kBlockBytes);
    EXPECT_NEAR(state->VoltmeterValue, 25500, 100);
    EXPECT_EQ(voltage2.substr(0, 3), "25.");
    EXPECT_EQ(voltage2.size(), 7u);
    EXPECT_LT(state->AmmeterValue, 1.0);  // the filter's memory of the last block has died away
}

TEST(ChannelMeasurement, MatchesTheStatedAlgorithmBitForBit) {
    auto state = std::make_unique<MeasurementState>();
    auto reference = std::make_unique<MeasurementState>();
    std::mt19937 random(7);
    std::uniform_int_distribution<int> sample(-32768, 32767);
    for (int block = 0; block < 6; ++block) {
        std::vector<std::int16_t> left(2500), right(2500);
        for (std::size_t i = 0; i < 2500; ++i) {
            // a sine with noise and an occasional full-scale glitch
            left[i] = static_cast<std::int16_t>(std::clamp(
                8000 * std::sin(0.01 * static_cast<double>(i) * (block + 1)) + sample(random) / 16, -32768.0, 32767.0));
            right[i] = static_cast<std::int16_t>(i % 97 == 0 ? -32768 : sample(random) / (block + 1));
        }
        record(*state, stereoBlock(left, right));
        record(*reference, stereoBlock(left, right));
        // Several passes over the same block: F[n] carries from pass to pass.
        for (int pass = 0; pass < 2; ++pass) {
            MeasureVoltage(*state, kBlockBytes);
            MeasureCurrent(*state, kBlockBytes);
            const double v = referenceValue(reference->Samples1, reference->FilteredVoltage, 1, 4, 5000, false);
            const double i = referenceValue(reference->Samples1, reference->FilteredCurrent, 0, 2, 5000, true);
            EXPECT_EQ(state->VoltmeterValue, v) << "block " << block;
            EXPECT_EQ(state->AmmeterValue, i) << "block " << block;
            EXPECT_EQ(state->FilteredVoltage, reference->FilteredVoltage);
            EXPECT_EQ(state->FilteredCurrent, reference->FilteredCurrent);
        }
    }
}

// Passes over the same block are quicker than the first, but a sample or a
// smoothed entry written in between by anyone, or another block length,
// still counts.
TEST(ChannelMeasurement, ARepeatedPassSeesEveryChangeBetweenPasses) {
    auto state = std::make_unique<MeasurementState>();
    auto reference = std::make_unique<MeasurementState>();
    record(*state, stereoBlock(sine(9000, 50), sine(3000, 50)));
    record(*reference, stereoBlock(sine(9000, 50), sine(3000, 50)));
    struct Change {
        std::size_t sample;      // Samples1 entry set to 777 (none: 0)
        std::size_t smoothed;    // FilteredVoltage and FilteredCurrent entry set to -5 (none: 0)
        std::int32_t bufferSize;
    };
    const Change changes[] = {{0, 0, kBlockBytes}, {0, 0, kBlockBytes}, {4999, 0, kBlockBytes}, {0, 0, kBlockBytes},
                              {0, 1234, kBlockBytes}, {0, 2499, kBlockBytes}, {0, 0, 4000}, {0, 0, 4000},
                              {0, 0, kBlockBytes}, {3, 0, kBlockBytes}};
    for (std::size_t pass = 0; pass < std::size(changes); ++pass) {
        const Change& c = changes[pass];
        for (MeasurementState* m : {state.get(), reference.get()}) {
            if (c.sample != 0) m->Samples1[c.sample] = 777;
            if (c.smoothed != 0) m->FilteredVoltage[c.smoothed] = m->FilteredCurrent[c.smoothed] = -5;
        }
        const std::string volts = MeasureVoltage(*state, c.bufferSize);
        const std::string amps = MeasureCurrent(*state, c.bufferSize);
        const int n = c.bufferSize / 2;
        EXPECT_EQ(state->VoltmeterValue, referenceValue(reference->Samples1, reference->FilteredVoltage, 1, 4, n, false))
            << "pass " << pass;
        EXPECT_EQ(state->AmmeterValue, referenceValue(reference->Samples1, reference->FilteredCurrent, 0, 2, n, true))
            << "pass " << pass;
        EXPECT_EQ(state->FilteredVoltage, reference->FilteredVoltage) << "pass " << pass;
        EXPECT_EQ(state->FilteredCurrent, reference->FilteredCurrent) << "pass " << pass;
    }
}

TEST(ChannelMeasurement, FilterTruncatesTowardsZeroAndSkipsTheFirstSample) {
    // Only the first left sample is set: F = 1000, 500, 250, 125, 62, 31, 15, 7, 3, 1, 0 ...
    // F[0] is not summed. A negative first sample gives the mirror image
    // (-62, not -63), hence the same reading.
    const double expected = std::sqrt((500.0 * 500 + 250 * 250 + 125 * 125 + 62 * 62 + 31 * 31 + 15 * 15 + 7 * 7 +
                                       3 * 3 + 1) / 5000.0L) * static_cast<long double>(0.0142);
    for (const std::int32_t first : {1000, -1000}) {
        auto state = std::make_unique<MeasurementState>();
        state->Samples1[0] = first;
        MeasureCurrent(*state, kBlockBytes);
        EXPECT_EQ(state->AmmeterValue, expected) << first;
        EXPECT_EQ(state->FilteredCurrent[4], first / 16);
        EXPECT_EQ(state->FilteredCurrent[5], first > 0 ? 31 : -31);
    }
}

TEST(ChannelMeasurement, LastStepSmoothesWhatThePreviousPassLeftPastTheBlock) {
    auto state = std::make_unique<MeasurementState>();
    state->FilteredVoltage[5000] = 4000;  // left by an earlier pass
    const std::string text = MeasureVoltage(*state, kBlockBytes);
    EXPECT_EQ(state->FilteredVoltage[5000], 1000);  // trunc(4000 / 4 + 0 - 0)
    const long double r = std::sqrt(1000.0L * 1000 / 5000);
    EXPECT_EQ(state->VoltmeterValue, static_cast<double>(std::fabs(r * 37 - 80) / 24));
    EXPECT_EQ(text, "0.02 V");  // 18.5 mV
    MeasureVoltage(*state, kBlockBytes);
    EXPECT_EQ(state->FilteredVoltage[5000], 250);
    EXPECT_EQ(state->FilteredVoltage[5001], 0);
}

TEST(ChannelMeasurement, VoltmeterCalibrationNearZeroShowsZeroVolts) {
    // One smoothed value of 1 gives r = 1/sqrt(5000): about 3.3 mV, shown as 0.00 V.
    auto state = std::make_unique<MeasurementState>();
    state->Samples1[3] = 4;  // F[1] = trunc(4/4) = 1, then 0
    EXPECT_EQ(MeasureVoltage(*state, kBlockBytes), "0.00 V");
    EXPECT_NEAR(state->VoltmeterValue, 3.31, 0.01);
}

TEST(ChannelMeasurement, AnyBufferSizeStaysInsideTheArrays) {
    EXPECT_EQ(channelEntryCount(10000), 5000);
    EXPECT_EQ(channelEntryCount(10001), 5000);
    EXPECT_EQ(channelEntryCount(88200), kMaxChannelEntries);
    EXPECT_EQ(channelEntryCount(INT32_MAX), kMaxChannelEntries);
    EXPECT_LE(channelEntryCount(-7), 0);

    auto state = std::make_unique<MeasurementState>();
    state->Samples1.fill(-32768);
    state->Samples1[kWorkingArraySize - 1] = 32767;
    for (const std::int32_t size : {INT32_MIN, -1, 0, 1, 2, 3, 88198, 88200, 88202, 1 << 20, INT32_MAX}) {
        MeasureVoltage(*state, size);
        MeasureCurrent(*state, size);
        EXPECT_TRUE(std::isfinite(state->VoltmeterValue)) << size;
        EXPECT_TRUE(std::isfinite(state->AmmeterValue)) << size;
    }
    // With the whole array in use, a constant full-scale channel reads its own level.
    auto full = std::make_unique<MeasurementState>();
    full->Samples1.fill(-32768);
    full->FilteredCurrent[kMaxChannelEntries] = -32768;
    MeasureCurrent(*full, 1 << 20);
    EXPECT_EQ(full->AmmeterValue, static_cast<double>(32768 * static_cast<long double>(0.0142)));
}

}  // namespace
}  // namespace measure
