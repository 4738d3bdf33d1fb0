// What a calibration is taken over: the readings whose sound lies in the last
// 2 s, how far apart they are, and whether one of them was in overload.
#include "measure/calibration/reading_history.h"

#include <gtest/gtest.h>

namespace measure {
namespace {

TEST(ReadingHistory, ReadingsThatTakeInEarlierSoundCountOnlyWhenAllOfItLiesInTheWindow) {
    ReadingHistory history;
    const double block = 2500.0 / 44100;
    for (int i = 0; i < 100; ++i) {
        history.blockRecorded(block);
        // A step at block 80; block 90 clipped.
        history.measured(Instrument::Voltmeter, i < 80 ? 100.0 : 101.5, 0, i == 90);
    }
    // Plain: the 36 blocks ending within the last 2 s (64 .. 99).
    const ReadingHistory::Mean plain = history.mean(Instrument::Voltmeter);
    EXPECT_EQ(plain.blocks, 36);
    EXPECT_NEAR(plain.from, 64 * block, 1e-9);
    EXPECT_NEAR(plain.spread, 1.5 / plain.rms, 1e-12);
    EXPECT_TRUE(plain.overload);

    // Readings of 0.3 s of sound each: a block counts when its sound began in
    // the window, so 6 fewer blocks, the first one's sound beginning within
    // the window's first block.
    const ReadingHistory::Mean span = history.mean(Instrument::Voltmeter, 0.3);
    EXPECT_EQ(span.blocks, 30);
    EXPECT_GT(span.from, 100 * block - 2.0);
    EXPECT_LT(span.from, 100 * block - 2.0 + block);

    // Steady readings: no spread.
    ReadingHistory steady;
    for (int i = 0; i < 40; ++i) {
        steady.blockRecorded(block);
        steady.measured(Instrument::Ammeter, 7.5, 15);
    }
    EXPECT_EQ(steady.mean(Instrument::Ammeter).spread, 0);
    EXPECT_FALSE(steady.mean(Instrument::Ammeter).overload);
}

}  // namespace
}  // namespace measure
