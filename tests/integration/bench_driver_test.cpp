// The virtual measuring bench: the recorder and the player of the main window
// on the bench driver, with the real measurement passes reading the line input.
// The instruments read the circuit's current and voltage; the input hears what
// the output played, when it played it; volumes, clipping and noise behave.
#include "audio/audio_in.h"
#include "audio/audio_out.h"
#include "bench/bench_circuit.h"
#include "bench/bench_driver.h"
#include "generator/sine_fill.h"
#include "measure/reference/buffer_filled.h"
#include "measure/reference/channel_measurement.h"
#include "platform/wave/driver_registry.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <numeric>
#include <vector>

namespace {

using namespace platform;
using namespace platform::win;
using namespace platform::wave;
using namespace bench;

// AudioIn1 and AudioOut1 on a bench, recording every block.
struct BenchRig {
    explicit BenchRig(BenchConfig config = {}) : driver(std::make_shared<BenchDriver>(std::move(config), clock)) {
        setDriver(driver);
        in = new audio::TAudioIn(&owner);
        in->SetFrameRate(44100);
        in->SetStereo(true);
        in->SetQuantization(16);
        in->SetBufferSize(10000);
        in->SetNumBuffers(2);
        in->OnBufferFilled = [this](char* buffer, std::int32_t& size) {
            std::vector<std::int16_t> block(static_cast<std::size_t>(size / 2));
            std::memcpy(block.data(), buffer, block.size() * 2);
            blocks.push_back(std::move(block));
            measure::AudioIn1BufferFilled(state, buffer, size);
            measure::MeasureVoltage(state, in->BufferSize());
            measure::MeasureCurrent(state, in->BufferSize());
            milliamps.push_back(state.AmmeterValue);
            millivolts.push_back(state.VoltmeterValue);
            return true;
        };
        out = new audio::TAudioOut(&owner);  // 22050 Hz mono 16-bit, 4 x 8192 bytes
        out->OnFillBuffer = [this](char* buffer, std::int32_t& size) {
            return generator::FillSine(buffer, size, out->FilledCount(), out->FrameRate(), amplitude, frequency);
        };
    }
    ~BenchRig() {
        in->StopImmediately();
        out->StopImmediately();
        QCoreApplication::sendPostedEvents();
        delete in;
        delete out;
        setDriver(nullptr);
    }

    void runFor(double seconds) {
        clock.passTime(static_cast<Nanoseconds>(seconds * 1e9), [] { QCoreApplication::sendPostedEvents(); });
    }

    // Mean of the readings of the blocks recorded from `from` on.
    static double mean(const std::vector<double>& v, std::size_t from) {
        return std::accumulate(v.begin() + static_cast<long>(from), v.end(), 0.0) /
               static_cast<double>(v.size() - from);
    }

    VirtualClock clock;
    std::shared_ptr<BenchDriver> driver;
    QObject owner;
    audio::TAudioIn* in = nullptr;
    audio::TAudioOut* out = nullptr;
    measure::MeasurementState state;
    std::int32_t amplitude = 22400;
    std::int32_t frequency = 50;
    std::vector<std::vector<std::int16_t>> blocks;
    std::vector<double> milliamps, millivolts;
};

TEST(WaveBenchDriver, InstrumentsReadTheCircuitsCurrentAndVoltage) {
    struct Case {
        double load;
        double milliamps, millivolts;  // the circuit's RMS values
    };
    // Source: 22400 * 3.5 / 22 = 3563.6 mV RMS; the divider (101 kOhm) sits across the load.
    for (const Case c : {Case{100, 35.32, 3528.3}, Case{1000, 3.595, 3559.9}}) {
        BenchConfig config;
        config.loadOhms = c.load;
        BenchRig rig(config);
        ASSERT_TRUE(rig.in->Start(rig.in));
        ASSERT_TRUE(rig.out->Start(rig.out));
        rig.runFor(5.0);
        ASSERT_GE(rig.milliamps.size(), 80u);
        // Past the first block (the source starts at its first frame), every
        // block reads within the few percent that 2.83 periods per block allow.
        for (std::size_t i = 2; i < rig.milliamps.size(); ++i) {
            ASSERT_NEAR(rig.milliamps[i], c.milliamps, c.milliamps * 0.04) << "block " << i << ", " << c.load << " ohm";
            ASSERT_NEAR(rig.millivolts[i], c.millivolts, c.millivolts * 0.04) << "block " << i;
        }
        EXPECT_NEAR(BenchRig::mean(rig.milliamps, 2), c.milliamps, c.milliamps * 0.01) << c.load << " ohm";
        // The voltmeter's fixed offset takes 3.3 mV off.
        EXPECT_NEAR(BenchRig::mean(rig.millivolts, 2), c.millivolts - 3.3, c.millivolts * 0.01) << c.load << " ohm";
    }
}

TEST(WaveBenchDriver, InputHearsWhatThePlayerPlayedWhenItPlayedIt) {
    BenchRig rig;
    rig.amplitude = 10000;
    ASSERT_TRUE(rig.in->Start(rig.in));
    rig.runFor(1.0);  // one second of recording before the player starts
    ASSERT_TRUE(rig.out->Start(rig.out));
    rig.runFor(1.0);

    std::vector<std::int16_t> left, right;
    for (const auto& b : rig.blocks)
        for (std::size_t i = 0; i + 1 < b.size(); i += 2) {
            left.push_back(b[i]);
            right.push_back(b[i + 1]);
        }
    ASSERT_GE(left.size(), 80000u);
    // Silence until the player's first frame at 1 s (input frame 44100); from
    // there on the player's sample j (22050 Hz) is heard at input frames 2j
    // and 2j + 1, through the circuit's exact gains.
    const BenchProbe unit = benchProbe(benchSourceMillivolts(1.0, 1.0), 100.0);
    for (std::size_t k = 0; k < left.size(); ++k) {
        double source = 0;
        if (k >= 44100) {
            const auto j = static_cast<std::int32_t>((k - 44100) / 2);
            source = generator::SineSample(j, 22050, rig.amplitude, rig.frequency);
        }
        const auto expectLeft = std::lrint(source * unit.shuntMillivolts * benchLeftSamplesPerMillivolt());
        const auto expectRight = std::lrint(source * unit.dividerMillivolts * benchRightSamplesPerMillivolt());
        ASSERT_EQ(left[k], expectLeft) << "frame " << k;
        ASSERT_EQ(right[k], expectRight) << "frame " << k;
    }
}

TEST(WaveBenchDriver, PausedPlayerIsSilentAndVolumesScaleTheInput) {
    double outputGain = 1.0, recordingGain = 1.0;
    BenchConfig config;
    config.outputGain = [&] { return outputGain; };
    config.recordingGain = [&] { return recordingGain; };
    BenchRig rig(config);
    ASSERT_TRUE(rig.in->Start(rig.in));
    ASSERT_TRUE(rig.out->Start(rig.out));
    rig.runFor(2.0);
    const double full = BenchRig::mean(rig.milliamps, 2);

    auto meanAfter = [&](double seconds) {
        const std::size_t from = rig.milliamps.size() + 1;  // skip the block that straddles the change
        rig.runFor(seconds);
        return BenchRig::mean(rig.milliamps, from);
    };
    outputGain = 0.5;
    EXPECT_NEAR(meanAfter(1.0), full * 0.5, full * 0.01);
    recordingGain = 0.5;
    EXPECT_NEAR(meanAfter(1.0), full * 0.25, full * 0.01);
    outputGain = recordingGain = 1.0;
    rig.out->SetPaused(true);
    EXPECT_EQ(meanAfter(1.0), 0.0);
    rig.out->SetPaused(false);
    EXPECT_NEAR(meanAfter(1.0), full, full * 0.01);
}

TEST(WaveBenchDriver, ShortCircuitClipsAtFullScale) {
    BenchConfig config;
    config.loadOhms = 0;  // the source drives the 1 ohm shunt alone: far beyond the input's range
    BenchRig rig(config);
    ASSERT_TRUE(rig.in->Start(rig.in));
    ASSERT_TRUE(rig.out->Start(rig.out));
    rig.runFor(1.0);
    std::int16_t lo = 0, hi = 0;
    for (std::size_t b = 1; b < rig.blocks.size(); ++b)
        for (std::size_t i = 0; i < rig.blocks[b].size(); i += 2) {
            lo = std::min(lo, rig.blocks[b][i]);
            hi = std::max(hi, rig.blocks[b][i]);
        }
    EXPECT_EQ(hi, 32767);
    EXPECT_EQ(lo, -32767);
    EXPECT_EQ(rig.blocks.back()[1], 0);  // no voltage across a short circuit
}

TEST(WaveBenchDriver, NoiseIsSeededAndHasItsLevel) {
    auto record = [](std::uint64_t seed) {
        BenchConfig config;
        config.noise = 50;
        config.seed = seed;
        BenchRig rig(config);
        rig.amplitude = 0;
        EXPECT_TRUE(rig.in->Start(rig.in));
        rig.runFor(1.0);
        std::vector<std::int16_t> all;
        for (const auto& b : rig.blocks) all.insert(all.end(), b.begin(), b.end());
        return all;
    };
    const auto a = record(7), b = record(7), c = record(8);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    double sum = 0;
    for (std::int16_t s : a) sum += static_cast<double>(s) * s;
    EXPECT_NEAR(std::sqrt(sum / static_cast<double>(a.size())), 50.0, 2.0);
}

TEST(WaveBenchDriver, ConfigurationIsCheckedAndEachDeviceOpensOnce) {
    BenchConfig bad;
    bad.loadOhms = -1;
    EXPECT_NE(benchConfigError(bad), "");
    bad = BenchConfig{};
    bad.noise = std::nan("");
    EXPECT_NE(benchConfigError(bad), "");
    EXPECT_EQ(benchConfigError(BenchConfig{}), "");

    BenchRig rig;
    ASSERT_TRUE(rig.in->Start(rig.in));
    QObject other;
    auto* second = new audio::TAudioIn(&other);
    EXPECT_FALSE(second->Start(second));
    EXPECT_FALSE(second->ErrorMessage().empty());
    delete second;
}

}  // namespace
