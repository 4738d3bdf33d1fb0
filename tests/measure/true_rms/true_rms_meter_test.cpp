// The true-RMS meter on generated line-input signals: sines across the band
// with random phases and block boundaries, other waveforms, DC, noise,
// clipping, level steps, known phase shifts, other block sizes and rates.
#include "measure/true_rms/true_rms_meter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <numbers>
#include <random>
#include <vector>

namespace measure {
namespace {

constexpr double kPi = std::numbers::pi;
using Signal = std::function<double(double seconds)>;

// Records two signals into the meter in blocks, as the line input would:
// rounded to 16 bits and clipped at full scale.
class Recording {
public:
    Recording(TrueRmsMeter& meter, Signal left, Signal right)
        : meter_(meter), left_(std::move(left)), right_(std::move(right)) {}

    void record(std::size_t frames) {
        block_.clear();
        const double rate = static_cast<double>(meter_.rate());
        for (std::size_t i = 0; i < frames; ++i, ++frame_) {
            const double t = static_cast<double>(frame_) / rate;
            block_.push_back(sample(left_(t)));
            block_.push_back(sample(right_(t)));
        }
        meter_.addBlock(block_.data(), frames);
    }
    double seconds() const { return static_cast<double>(frame_) / static_cast<double>(meter_.rate()); }
    std::int64_t frame() const { return frame_; }

private:
    static std::int16_t sample(double v) {
        return static_cast<std::int16_t>(std::lrint(std::clamp(v, -32768.0, 32767.0)));
    }
    TrueRmsMeter& meter_;
    Signal left_, right_;
    std::vector<std::int16_t> block_;
    std::int64_t frame_ = 0;
};

Signal sine(double peak, double hz, double phase = 0, double offset = 0) {
    return [=](double t) { return offset + peak * std::sin(2 * kPi * hz * t + phase); };
}

double relative(double got, double want) { return std::abs(got / want - 1); }

// Across the band, with random phases and a random first block: every block's
// reading of a steady sine is its RMS within 0.05 %, steady within 0.05 %, at
// the right frequency within 0.1 %.
TEST(TrueRmsMeter, ReadsSteadySinesAcrossTheBand) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> angle(0, 2 * kPi);
    std::uniform_int_distribution<std::size_t> firstBlock(1, 2500);
    for (const double hz : {20.0, 23.7, 50.0, 53.0, 200.0, 700.0, 1000.0}) {
        for (int run = 0; run < 3; ++run) {
            TrueRmsMeter meter;
            Recording rec(meter, sine(12000, hz, angle(random)), sine(3000, hz, angle(random)));
            rec.record(firstBlock(random));
            while (rec.seconds() < 0.4) rec.record(2500);
            double lo = 1e9, hi = 0;
            for (int block = 0; block < 30; ++block) {
                rec.record(2500);
                const CircuitReading& r = meter.reading();
                ASSERT_TRUE(r.settled);
                EXPECT_LT(relative(r.current.rms, 12000 / std::numbers::sqrt2), 5e-4) << hz << " Hz";
                EXPECT_LT(relative(r.voltage.rms, 3000 / std::numbers::sqrt2), 5e-4) << hz << " Hz";
                EXPECT_EQ(r.frequencyFrom, FrequencySource::Current);
                EXPECT_LT(relative(r.frequencyHz, hz), 1e-3) << hz << " Hz";
                EXPECT_FALSE(r.current.overload || r.voltage.overload);
                lo = std::min(lo, r.current.rms);
                hi = std::max(hi, r.current.rms);
            }
            EXPECT_LT((hi - lo) / lo, 5e-4) << hz << " Hz";
        }
    }
}

// Voltage leading the current by phi reads phi within 0.2 degrees, with the
// active power's share cos(phi).
TEST(TrueRmsMeter, ReadsThePhaseOfTheVoltageAgainstTheCurrent) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> angle(0, 2 * kPi);
    for (const double hz : {20.0, 53.0, 159.2, 1000.0}) {
        for (const double degrees : {-89.0, -30.0, 0.0, 45.0, 89.0}) {
            const double start = angle(random);
            const double phi = degrees * kPi / 180;
            TrueRmsMeter meter;
            Recording rec(meter, sine(8000, hz, start), sine(20000, hz, start + phi));
            rec.record(1234);
            while (rec.seconds() < 0.6) rec.record(2500);
            const CircuitReading& r = meter.reading();
            ASSERT_TRUE(r.phaseKnown) << hz << " Hz " << degrees;
            EXPECT_NEAR(r.phaseDegrees, degrees, 0.2) << hz << " Hz";
            EXPECT_NEAR(r.powerFactor, std::cos(phi), 1e-3) << hz << " Hz " << degrees;
            EXPECT_NEAR(r.meanProduct, 8000 * 20000 / 2.0 * std::cos(phi), 1e-3 * 8000 * 20000 / 2.0);
        }
    }
}

// Square and triangle waves read their true RMS; a DC offset is removed and
// read as the mean.
TEST(TrueRmsMeter, ReadsOtherWaveformsAndRemovesDc) {
    const double hz = 47.3;
    const Signal square = [=](double t) { return std::sin(2 * kPi * hz * t + 0.3) >= 0 ? 9000.0 : -9000.0; };
    const Signal triangle = [=](double t) {
        const double cycle = hz * t + 0.1 - std::floor(hz * t + 0.1);
        return 9000.0 * (4 * std::abs(cycle - 0.5) - 1);
    };
    TrueRmsMeter meter;
    Recording rec(meter, square, triangle);
    while (rec.seconds() < 1) rec.record(2500);
    CircuitReading r = meter.reading();
    EXPECT_LT(relative(r.current.rms, 9000), 5e-4);
    EXPECT_LT(relative(r.voltage.rms, 9000 / std::sqrt(3.0)), 5e-4);
    EXPECT_LT(relative(r.frequencyHz, hz), 1e-3);
    EXPECT_TRUE(r.phaseKnown);  // a square wave is mostly its fundamental

    TrueRmsMeter offset;
    Recording dc(offset, sine(6000, 61.7, 0.2, 15000), sine(500, 61.7, 1.0, -3000));
    while (dc.seconds() < 1) dc.record(2500);
    r = offset.reading();
    EXPECT_LT(relative(r.current.rms, 6000 / std::numbers::sqrt2), 5e-4);
    EXPECT_LT(relative(r.voltage.rms, 500 / std::numbers::sqrt2), 5e-4);
    EXPECT_NEAR(r.current.mean, 15000, 15);
    EXPECT_NEAR(r.voltage.mean, -3000, 3);
    EXPECT_LT(relative(r.frequencyHz, 61.7), 1e-3);
    EXPECT_NEAR(r.phaseDegrees, (1.0 - 0.2) * 180 / kPi, 0.2);

    // A constant reads 0 with no frequency.
    TrueRmsMeter still;
    Recording flat(still, [](double) { return 1000.0; }, [](double) { return -7.0; });
    flat.record(20000);
    EXPECT_NEAR(still.reading().current.rms, 0, 1e-3);
    EXPECT_NEAR(still.reading().current.mean, 1000, 1e-9);
    EXPECT_EQ(still.reading().frequencyFrom, FrequencySource::None);
}

// Noise reads its RMS with no frequency or phase; with noise only on the
// current, the frequency comes from the voltage; a sine in some noise keeps
// its frequency.
TEST(TrueRmsMeter, NoiseReadsItsRmsAndHasNoFrequency) {
    std::mt19937 random(3);
    std::normal_distribution<double> gauss(0, 1000);
    const Signal noise = [&](double) { return gauss(random); };
    TrueRmsMeter meter;
    Recording rec(meter, noise, noise);
    for (int block = 0; block < 40; ++block) {
        rec.record(2500);
        const CircuitReading& r = meter.reading();
        EXPECT_LT(relative(r.current.rms, 1000), 0.03);
        EXPECT_LT(relative(r.voltage.rms, 1000), 0.03);
        EXPECT_EQ(r.frequencyFrom, FrequencySource::None);
        EXPECT_EQ(r.frequencyHz, 0);
        EXPECT_FALSE(r.phaseKnown);
        EXPECT_LT(std::abs(r.powerFactor), 0.1);  // the two noises are unrelated
    }

    TrueRmsMeter open;
    Recording fallback(open, noise, sine(10000, 50));
    while (fallback.seconds() < 1) fallback.record(2500);
    EXPECT_EQ(open.reading().frequencyFrom, FrequencySource::Voltage);
    EXPECT_LT(relative(open.reading().frequencyHz, 50), 1e-3);
    EXPECT_FALSE(open.reading().phaseKnown);

    TrueRmsMeter noisy;
    Recording sineInNoise(noisy, [&](double t) { return 10000 * std::sin(2 * kPi * 333.3 * t) + gauss(random); },
                          sine(5000, 333.3, 0.5));
    for (int block = 0; block < 40; ++block) {
        sineInNoise.record(2500);
        if (sineInNoise.seconds() < 0.4) continue;
        const CircuitReading& r = noisy.reading();
        EXPECT_LT(relative(r.current.rms, std::sqrt(10000 * 10000 / 2.0 + 1000 * 1000)), 0.005);
        EXPECT_EQ(r.frequencyFrom, FrequencySource::Current);
        EXPECT_LT(relative(r.frequencyHz, 333.3), 1e-3);
        EXPECT_NEAR(r.phaseDegrees, 0.5 * 180 / kPi, 0.5);
    }
}

// A channel is overloaded while any frame of the window reached full scale:
// from the block with that frame until the window has passed it.
TEST(TrueRmsMeter, FlagsOverloadWhileAFullScaleFrameIsInTheWindow) {
    TrueRmsMeter meter;
    const std::size_t window = meter.windowFrames();
    ASSERT_EQ(window, 13230u);
    std::int64_t frame = 0;
    std::vector<std::int16_t> block;
    auto record = [&](std::size_t frames, std::int64_t clipAt, std::int16_t clipValue) {
        block.assign(2 * frames, 0);
        for (std::size_t i = 0; i < frames; ++i, ++frame) {
            block[2 * i] = static_cast<std::int16_t>(std::lrint(20000 * std::sin(0.01 * static_cast<double>(frame))));
            block[2 * i + 1] = static_cast<std::int16_t>(frame == clipAt ? clipValue : 32766);
        }
        meter.addBlock(block.data(), frames);
    };
    record(5000, -1, 0);
    EXPECT_FALSE(meter.reading().voltage.overload);  // 32766 is not full scale
    record(1000, 5500, -32768);
    EXPECT_TRUE(meter.reading().voltage.overload);
    EXPECT_FALSE(meter.reading().current.overload);
    // Frame 5500 leaves the window once frame 5500 + window has been recorded.
    record(5500 + window - frame, -1, 0);
    EXPECT_TRUE(meter.reading().voltage.overload);
    record(1, -1, 0);
    EXPECT_FALSE(meter.reading().voltage.overload);
    record(10, frame + 3, 32767);
    EXPECT_TRUE(meter.reading().voltage.overload);

    // The 32-bit working array's entries are clipped to 16 bits first.
    TrueRmsMeter wide;
    const std::vector<std::int32_t> loud{40000, 100, -50000, 100};
    wide.addBlock(loud.data(), 2);
    EXPECT_TRUE(wide.reading().current.overload);
    EXPECT_NEAR(wide.reading().current.rms, 32767.5, 0.1);
}

// After a level step the reading is within 0.5 % of the new level no later
// than 0.5 s after the step, block granularity included.
TEST(TrueRmsMeter, FollowsALevelStepWithinHalfASecond) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> stepAt(1.0, 1.06);
    for (const double hz : {20.0, 50.0, 1000.0}) {
        for (const auto& [before, after] : {std::pair{5000.0, 10000.0}, {10000.0, 2000.0}, {0.0, 10000.0}}) {
            const double t0 = stepAt(random);
            const Signal s = [=](double t) { return (t < t0 ? before : after) * std::sin(2 * kPi * hz * t + 1); };
            TrueRmsMeter meter;
            Recording rec(meter, s, s);
            while (rec.seconds() < t0) rec.record(2500);
            double settledAt = -1;
            while (rec.seconds() < t0 + 1) {
                rec.record(2500);
                const bool within = relative(meter.reading().current.rms, after / std::numbers::sqrt2) <= 5e-3;
                if (!within) settledAt = -1;
                else if (settledAt < 0) settledAt = rec.seconds();
            }
            ASSERT_GT(settledAt, 0);
            EXPECT_LE(settledAt - t0, 0.5) << hz << " Hz, " << before << " -> " << after;
            EXPECT_GE(settledAt - t0, 0.2) << "the window is 0.3 s";
        }
    }
}

// The reading depends on the frames recorded, not on how they were cut into
// blocks; before the window is full it covers what there is.
TEST(TrueRmsMeter, ReadsTheSameWhateverTheBlockSizes) {
    const Signal left = sine(10000, 77.7, 0.4, 300);
    const Signal right = sine(4000, 77.7, 1.4);
    TrueRmsMeter whole;
    Recording one(whole, left, right);
    one.record(30000);
    TrueRmsMeter pieces;
    Recording many(pieces, left, right);
    for (const std::size_t frames : {1u, 7u, 2500u, 13229u, 1u, 2u, 5000u})
        many.record(frames);
    many.record(30000 - static_cast<std::size_t>(many.frame()));
    const CircuitReading& a = whole.reading();
    const CircuitReading& b = pieces.reading();
    EXPECT_EQ(a.current.rms, b.current.rms);
    EXPECT_EQ(a.voltage.rms, b.voltage.rms);
    EXPECT_EQ(a.frequencyHz, b.frequencyHz);
    EXPECT_EQ(a.phaseDegrees, b.phaseDegrees);
    EXPECT_EQ(a.meanProduct, b.meanProduct);

    // Warming up: 0.1 s of a 77.7 Hz sine, read over those frames alone.
    TrueRmsMeter fresh;
    Recording start(fresh, left, right);
    start.record(1);
    EXPECT_EQ(fresh.reading().frames, 1u);
    EXPECT_EQ(fresh.reading().current.rms, 0);
    start.record(4409);
    EXPECT_FALSE(fresh.reading().settled);
    EXPECT_EQ(fresh.reading().frames, 4410u);
    EXPECT_LT(relative(fresh.reading().current.rms, 10000 / std::numbers::sqrt2), 0.01);
    EXPECT_LT(relative(fresh.reading().frequencyHz, 77.7), 1e-3);

    // Reset forgets it all.
    fresh.reset();
    EXPECT_EQ(fresh.reading().frames, 0u);
    EXPECT_EQ(fresh.reading().current.rms, 0);
}

// Another rate, given once: the window is still 0.3 s and the frequency right.
TEST(TrueRmsMeter, WorksAtOtherRates) {
    TrueRmsMeter meter(48000);
    EXPECT_EQ(meter.windowFrames(), 14400u);
    Recording rec(meter, sine(10000, 997, 0.1), sine(10000, 997, 0.1 - 0.5));
    while (rec.seconds() < 0.5) rec.record(480);
    const CircuitReading& r = meter.reading();
    EXPECT_LT(relative(r.frequencyHz, 997), 1e-3);
    EXPECT_LT(relative(r.current.rms, 10000 / std::numbers::sqrt2), 5e-4);
    EXPECT_NEAR(r.phaseDegrees, -0.5 * 180 / kPi, 0.2);
}

}  // namespace
}  // namespace measure
