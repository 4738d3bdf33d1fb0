// The waveforms on generated signals of known phase: the phase read from the
// traces' crossings, the trigger that holds a steady signal still, and
// crossings that noise near the level does not double.
#include "lab/crossings.h"
#include "lab/waveform_trace.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <random>

namespace lab {
namespace {

struct Signals {
    std::vector<float> current, voltage;
};

// `periodSamples` need not be whole; the voltage leads by `leadDegrees`.
Signals sines(std::size_t n, double periodSamples, double leadDegrees, double noise = 0, unsigned seed = 1) {
    std::mt19937 random(seed);
    std::normal_distribution<double> gauss(0, noise > 0 ? noise : 1);
    Signals s;
    const double w = 2 * std::numbers::pi / periodSamples;
    const double lead = leadDegrees * std::numbers::pi / 180;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) + 0.37;
        s.current.push_back(static_cast<float>(8000 * std::sin(w * t) + 40 + (noise > 0 ? gauss(random) : 0)));
        s.voltage.push_back(static_cast<float>(3000 * std::sin(w * t + lead) - 25 + (noise > 0 ? gauss(random) : 0)));
    }
    return s;
}

TEST(WaveformTrace, ThePhaseOfTheTracesIsTheSinesPhaseEitherWayAndNearHalfATurn) {
    for (const double lead : {-57.86, 0.0, 30.0, 89.0, -179.0, 179.5}) {
        const Signals s = sines(13230, 441.0 * 100 / 159.15, lead);
        const auto current = risingCrossings(s.current.data(), s.current.size(), 40, 4000);
        const auto voltage = risingCrossings(s.voltage.data(), s.voltage.size(), -25, 1500);
        const auto phase = tracePhaseDegrees(current, voltage);
        ASSERT_TRUE(phase) << lead;
        // Angles: -179 and 181 are the same shift.
        const double apart = std::remainder(*phase - lead, 360.0);
        EXPECT_LT(std::fabs(apart), 0.02) << lead << " read " << *phase;
    }
}

TEST(WaveformTrace, NoiseNearTheLevelCountsOneCrossingAPeriod) {
    // 50 Hz at 44.1 kHz, 0.3 s: 15 periods; noise of 2 % of the peak.
    const Signals s = sines(13230, 882, 0, 160);
    const auto crossings = risingCrossings(s.current.data(), s.current.size(), 40, 0.5 * 8000 / std::sqrt(2.0));
    EXPECT_EQ(crossings.size(), 15u);
    const auto period = periodOf(crossings);
    ASSERT_TRUE(period);
    EXPECT_NEAR(*period, 882, 0.5);
    // Without hysteresis the same noise crosses many times.
    EXPECT_GT(risingCrossings(s.current.data(), s.current.size(), 40, 0).size(), 15u);
}

TEST(WaveformTrace, TheTriggerStartsAtTheLatestCrossingThatLeavesRoomForWholePeriods) {
    const std::vector<double> crossings{100.4, 541.4, 982.4, 1423.4, 1864.4};  // period 441
    const TraceWindow w = traceWindow(crossings, 2000, 800);
    EXPECT_TRUE(w.triggered);
    EXPECT_EQ(w.length, 882u);  // two periods cover 800 samples
    EXPECT_EQ(w.start, 983u);   // 1423 + 882 would run past 2000
    // No period: the newest samples, untriggered.
    const TraceWindow none = traceWindow({120.0}, 2000, 500);
    EXPECT_FALSE(none.triggered);
    EXPECT_EQ(none.start, 1500u);
    EXPECT_EQ(none.length, 500u);
}

}  // namespace
}  // namespace lab
