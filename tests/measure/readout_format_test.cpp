#include "measure/readout_format.h"

#include <gtest/gtest.h>

namespace measure {
namespace {

TEST(ReadoutFormat, VoltmeterRoundsToTenMillivoltsHalfToEven) {
    EXPECT_EQ(formatVoltmeterReadout(0), "0.00 V");
    EXPECT_EQ(formatVoltmeterReadout(3283), "3.28 V");
    EXPECT_EQ(formatVoltmeterReadout(3285), "3.28 V");
    EXPECT_EQ(formatVoltmeterReadout(3295), "3.30 V");
    EXPECT_EQ(formatVoltmeterReadout(3295.01), "3.30 V");
    EXPECT_EQ(formatVoltmeterReadout(4.9), "0.00 V");
    EXPECT_EQ(formatVoltmeterReadout(12345), "12.34 V");
    EXPECT_EQ(formatVoltmeterReadout(25255.3), "25.26 V");
}

TEST(ReadoutFormat, AmmeterMilliamperesBelowOneAmpereAmperesAbove) {
    EXPECT_EQ(formatAmmeterReadout(0), "  0");
    EXPECT_EQ(formatAmmeterReadout(7.3), "  7");
    EXPECT_EQ(formatAmmeterReadout(2.5), "  2");
    EXPECT_EQ(formatAmmeterReadout(3.5), "  4");
    EXPECT_EQ(formatAmmeterReadout(42.5), " 42");
    EXPECT_EQ(formatAmmeterReadout(123.4), "123");
    EXPECT_EQ(formatAmmeterReadout(999.9), "1000");
    EXPECT_EQ(formatAmmeterReadout(1000.0), "1.00 A");
    EXPECT_EQ(formatAmmeterReadout(1234.5), "1.23 A");
    EXPECT_EQ(formatAmmeterReadout(1235), "1.24 A");
    EXPECT_EQ(formatAmmeterReadout(46500), "46.50 A");
}

}  // namespace
}  // namespace measure
