#include "measure/reference/readout_format.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

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

// The library's general conversion of the same extended values.
std::string libraryFixed(long double value, int decimals) {
    std::string text(5000, '\0');
    const auto r = std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, decimals);
    EXPECT_EQ(r.ec, std::errc());
    text.resize(static_cast<std::size_t>(r.ptr - text.data()));
    return text;
}

TEST(ReadoutFormat, EveryValuePrintsAsTheLibraryPrintsIt) {
    std::vector<double> values = {-0.0, -4.9, -5.0, -5.1, -15.0, -1234.5, 4.99999, 5.0, 15.0, 25.0, 0.5, -0.5,
                                  1e300, -1e300, 9.0071992547409900e16, 9.0071992547409920e16,
                                  std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::max(),
                                  std::numeric_limits<double>::denorm_min()};
    std::mt19937_64 random(13);
    for (int i = 0; i < 20000; ++i) {
        const double magnitude = std::pow(10.0, std::uniform_real_distribution<double>(-3, 19)(random));
        values.push_back((i % 2 ? -1 : 1) * magnitude);
        values.push_back(std::round(magnitude) + 0.5 * (i % 3));  // whole and half-way values
    }
    for (const double v : values) {
        const std::string volts = libraryFixed(std::nearbyintl(static_cast<long double>(v) / 10) * 10 / 1000, 2);
        ASSERT_EQ(formatVoltmeterReadout(v), volts + " V") << v;
        std::string amps = v >= 1000 ? volts + " A" : libraryFixed(std::nearbyintl(static_cast<long double>(v)), 0);
        if (amps.size() < 3) amps.insert(0, 3 - amps.size(), ' ');
        ASSERT_EQ(formatAmmeterReadout(v), amps) << v;
    }
}

}  // namespace
}  // namespace measure
