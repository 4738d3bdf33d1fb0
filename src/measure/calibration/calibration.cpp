#include "measure/calibration/calibration.h"

#include "measure/reference/reference_calibration.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace measure {
namespace {

GainSolution checked(long double gain) {
    if (!std::isfinite(gain) || gain < kLowestGain || gain > kHighestGain)
        return {static_cast<double>(gain), CalibrationRefusal::GainOutOfRange};
    return {static_cast<double>(gain), CalibrationRefusal::None};
}

bool positive(double value) { return std::isfinite(value) && value > 0; }

bool withinRange(double gain) { return gain >= kLowestGain && gain <= kHighestGain; }

}  // namespace

int gainDigits(double gain) {
    constexpr int kFewest = 4;
    constexpr int kMost = 17;  // every double reads back as itself
    if (!std::isfinite(gain)) return kFewest;
    for (int digits = kFewest; digits < kMost; ++digits) {
        char text[40];
        std::snprintf(text, sizeof text, "%.*g", digits, gain);
        if (withinRange(std::strtod(text, nullptr)) == withinRange(gain)) return digits;
    }
    return kMost;
}

GainSolution solveAmmeterGain(double meanRms, double meanReading, double trueMilliamps) {
    if (!positive(trueMilliamps)) return {1.0, CalibrationRefusal::TrueValueNotPositive};
    if (!positive(meanRms) || !positive(meanReading)) return {1.0, CalibrationRefusal::NoReading};
    return checked(trueMilliamps / referenceCurrent(meanRms));
}

GainSolution solveVoltmeterGain(double meanRms, double meanReading, double trueMillivolts) {
    if (!positive(trueMillivolts)) return {1.0, CalibrationRefusal::TrueValueNotPositive};
    if (!positive(meanRms) || !positive(meanReading)) return {1.0, CalibrationRefusal::NoReading};
    const long double target = trueMillivolts * kVoltmeterDivisor + kVoltmeterOffset;
    return checked(target / (static_cast<long double>(meanRms) * kVoltmeterSlope));
}

GainSolution solveLinearGain(double meanUnscaled, double trueValue) {
    if (!positive(trueValue)) return {1.0, CalibrationRefusal::TrueValueNotPositive};
    if (!positive(meanUnscaled)) return {1.0, CalibrationRefusal::NoReading};
    return checked(static_cast<long double>(trueValue) / meanUnscaled);
}

GainSolution solveSourceGain(std::int32_t amplitude, double trueMillivolts) {
    if (!positive(trueMillivolts)) return {1.0, CalibrationRefusal::TrueValueNotPositive};
    if (amplitude <= 0) return {1.0, CalibrationRefusal::NoAmplitude};
    return checked(trueMillivolts / calibratedSourceMillivolts(amplitude, 1.0));
}

long double calibratedSourceMillivolts(std::int32_t amplitude, double sourceGain) {
    return static_cast<long double>(amplitude) * sourceGain * 3.5L / 22;
}

}  // namespace measure
