// A typed source voltage and frequency as track bar positions: the nearest
// position whose readout shows the typed voltage (nominal, or with a card's
// source gain), and what could not be set as typed.
#include "generator/source_entry.h"

#include "generator/track_bar_settings.h"

#include <gtest/gtest.h>

namespace generator {
namespace {

TEST(SourceEntry, AVoltageBecomesThePositionItsReadoutShowsAndSaysWhatItCouldNotHonour) {
    // 1,00 V nominal: the readout of that position says "1.00 V".
    const BarEntry one = AmplitudeEntry(1000, 1, 32000);
    EXPECT_EQ(one.limit, EntryLimit::None);
    EXPECT_EQ(SourceVoltageText(AmplitudeFromPosition(one.position)), "1.00 V");
    // Between two steps of the readout: the nearest one.
    const BarEntry between = AmplitudeEntry(1011, 1, 32000);
    EXPECT_EQ(between.limit, EntryLimit::Between);
    EXPECT_EQ(SourceVoltageText(AmplitudeFromPosition(between.position)), "1.02 V");
    // Beyond the bar: its end; below zero: zero.
    EXPECT_EQ(AmplitudeEntry(5000, 1, 32000).limit, EntryLimit::Above);
    EXPECT_EQ(AmplitudeEntry(5000, 1, 32000).position, 32000);
    EXPECT_EQ(AmplitudeEntry(-100, 1, 32000).limit, EntryLimit::Below);
    EXPECT_EQ(AmplitudeEntry(-100, 1, 32000).position, 0);
    // With a card whose output is 0.8 of the reference: the calibrated readout.
    const BarEntry gain = AmplitudeEntry(1500, 0.8, 32000);
    EXPECT_EQ(gain.limit, EntryLimit::None);
    EXPECT_EQ(ShownSourceMillivolts(gain.position, 0.8), 1500);
    EXPECT_GT(gain.position, AmplitudeEntry(1500, 1, 32000).position);
}

TEST(SourceEntry, AFrequencyIsSetInWholeHertzWithinTheBar) {
    EXPECT_EQ(FrequencyEntry(159, 20, 1000).position, 159);
    EXPECT_EQ(FrequencyEntry(159, 20, 1000).limit, EntryLimit::None);
    EXPECT_EQ(FrequencyEntry(159.2, 20, 1000).position, 159);
    EXPECT_EQ(FrequencyEntry(159.2, 20, 1000).limit, EntryLimit::Between);
    EXPECT_EQ(FrequencyEntry(5000, 20, 1000).position, 1000);
    EXPECT_EQ(FrequencyEntry(5000, 20, 1000).limit, EntryLimit::Above);
    EXPECT_EQ(FrequencyEntry(5, 20, 1000).limit, EntryLimit::Below);
}

}  // namespace
}  // namespace generator
