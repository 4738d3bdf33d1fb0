// The one settling rule, with calibration's stretch and the lab's: how long
// after the generator's change each lets a reading count as settled.
#include "measure/calibration/settling.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace measure {
namespace {

constexpr double kBlock = 2500.0 / 44100;

// Blocks of a steady reading; the change reaches the input at `arrives`; the
// readings take 0.3 s to fill with the new sound (a ramp until then).
Settling afterSeconds(double seconds, const SettlingRule& rule, double arrives = 1.0) {
    ReadingHistory history;
    for (double t = kBlock; t <= seconds + 1e-9; t += kBlock) {
        history.blockRecorded(kBlock);
        const double share = std::clamp((t - arrives) / 0.3, 0.0, 1.0);
        history.measured(Instrument::Ammeter, 100 + 50 * share, 0);
    }
    return settling(history, Instrument::Ammeter, arrives, rule);
}

TEST(Settling, ThePointsSettleHalfASecondAfterTheChangeCalibrationTwoSeconds) {
    EXPECT_EQ(afterSeconds(1.45, kPointSettling), Settling::Unsettled);
    EXPECT_EQ(afterSeconds(1.55, kPointSettling), Settling::Settled);
    EXPECT_EQ(afterSeconds(1.55, kCalibrationSettling), Settling::Unsettled);
    EXPECT_EQ(afterSeconds(2.9, kCalibrationSettling), Settling::Unsettled);
    EXPECT_EQ(afterSeconds(3.1, kCalibrationSettling), Settling::Settled);
}

TEST(Settling, NoReadingOverloadAndTooFewReadings) {
    ReadingHistory history;
    EXPECT_EQ(settling(history, Instrument::Ammeter, 0, kPointSettling), Settling::NoReading);
    for (int i = 0; i < 20; ++i) {
        history.blockRecorded(kBlock);
        history.measured(Instrument::Voltmeter, 80, 0, i == 17);
    }
    EXPECT_EQ(settling(history, Instrument::Voltmeter, 0, kPointSettling), Settling::Overload);
    // Two readings in the stretch are not enough for a point.
    const SettlingRule shortStretch{0.3 + 1.5 * kBlock, 3, 0.01};
    ReadingHistory steady;
    for (int i = 0; i < 20; ++i) {
        steady.blockRecorded(kBlock);
        steady.measured(Instrument::Ammeter, 80, 0);
    }
    EXPECT_EQ(settling(steady, Instrument::Ammeter, 0, shortStretch), Settling::Unsettled);
    EXPECT_EQ(settling(steady, Instrument::Ammeter, 0, kPointSettling), Settling::Settled);
}

}  // namespace
}  // namespace measure
