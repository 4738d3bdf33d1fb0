#include "generator/track_bar_settings.h"

#include <gtest/gtest.h>

namespace generator {
namespace {

TEST(TrackBarSettings, AmplitudeAndSourceVoltage) {
    EXPECT_EQ(AmplitudeFromPosition(0), 0);
    EXPECT_EQ(AmplitudeFromPosition(1), 1);
    EXPECT_EQ(AmplitudeFromPosition(2), 1);
    EXPECT_EQ(AmplitudeFromPosition(5), 4);    // 3.5, half to even
    EXPECT_EQ(AmplitudeFromPosition(15), 10);  // 10.5, half to even
    EXPECT_EQ(AmplitudeFromPosition(100), 70);
    EXPECT_EQ(AmplitudeFromPosition(32000), 22400);

    EXPECT_EQ(SourceVoltageText(0), "0.00 V");
    EXPECT_EQ(SourceVoltageText(70), "0.02 V");
    EXPECT_EQ(SourceVoltageText(100), "0.02 V");
    EXPECT_EQ(SourceVoltageText(22400), "3.56 V");
    EXPECT_EQ(SourceVoltageText(2200), "0.36 V");  // 17.5 steps of 20 mV, half to even
    EXPECT_EQ(SourceVoltageText(2640), "0.42 V");  // exactly 21 steps
}

TEST(TrackBarSettings, FrequencyAndItsTexts) {
    EXPECT_EQ(FrequencyFromPosition(19), 20);
    EXPECT_EQ(FrequencyFromPosition(-5), 20);
    EXPECT_EQ(FrequencyFromPosition(20), 20);
    EXPECT_EQ(FrequencyFromPosition(52), 52);  // played unrounded
    EXPECT_EQ(FrequencyFromPosition(1000), 1000);

    EXPECT_EQ(FrequencyPanelCaption(52), "50 Hz");
    EXPECT_EQ(FrequencyEditText(52), " 50 Hz");
    EXPECT_EQ(FrequencyPanelCaption(53), "55 Hz");
    EXPECT_EQ(FrequencyPanelCaption(20), "20 Hz");
    EXPECT_EQ(FrequencyEditText(1000), " 1000 Hz");
    EXPECT_EQ(DisplayedFrequency(998), 1000);
    EXPECT_EQ(DisplayedFrequency(INT32_MIN), INT32_MIN);
}

}  // namespace
}  // namespace generator
