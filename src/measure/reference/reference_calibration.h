#pragma once
// The fixed calibration of the reference card ("PCI 128"): the root mean
// square r of a channel's smoothed samples into the instrument's reading.
// Extended precision throughout; the caller stores the result as a double.
#include <cmath>

namespace measure {

inline constexpr double kAmmeterMilliampsPerUnit = 0.0142;  // value = r * 0.0142 (mA)
inline constexpr long double kVoltmeterSlope = 37.0L;       // value = |r * 37 - 80| / 24 (mV)
inline constexpr long double kVoltmeterOffset = 80.0L;
inline constexpr long double kVoltmeterDivisor = 24.0L;

// The constant is the double nearest to 0.0142, widened.
inline long double referenceCurrent(long double rms) {
    return rms * static_cast<long double>(kAmmeterMilliampsPerUnit);
}

inline long double referenceVoltage(long double rms) {
    return std::fabs(rms * kVoltmeterSlope - kVoltmeterOffset) / kVoltmeterDivisor;
}

// The same constants carried over to the true RMS of a channel's own frames
// (the true-RMS path): the reference r is the RMS of a block and as many
// zeros, RMS / sqrt(2), and the voltmeter's offset of 80 / 24 = 3.3 mV is left
// out. At 50 Hz and full scale the two paths agree within 0.1 %.
inline long double trueCurrent(long double rms) {
    return rms * static_cast<long double>(kAmmeterMilliampsPerUnit) / std::sqrt(2.0L);
}

inline long double trueVoltage(long double rms) {
    return rms * kVoltmeterSlope / (kVoltmeterDivisor * std::sqrt(2.0L));
}

}  // namespace measure
