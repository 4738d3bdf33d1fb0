#pragma once
// Texts of the large digital readouts of the ammeter and the voltmeter.
// Pure functions of the reading; the channel measurement writes them on
// every pass and the window shows them.
#include <string>

namespace measure {

// The voltage in volts, rounded to 10 mV (an exact half to the even
// neighbour), with exactly two decimals and the unit: 3283 mV gives "3.28 V",
// 3285 mV gives "3.28 V", 3295 mV gives "3.30 V", 0 gives "0.00 V".
std::string formatVoltmeterReadout(double millivolts);

// From 1000 mA up: amperes rounded to 10 mA with two decimals and " A"
// ("1.23 A" for 1234.5 mA). Below: the nearest whole milliampere, right-aligned
// in three characters, no unit ("  7" for 7.3 mA, "1000" for 999.9 mA).
std::string formatAmmeterReadout(double milliamperes);

}  // namespace measure
