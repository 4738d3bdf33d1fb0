#pragma once
// Calibration for a card other than the reference one: three correction
// factors, 1.0 being the reference card.
//
//   AmmeterGain, VoltmeterGain  the card's profile (OnTrueRms): one linear
//                               factor on the channel's true RMS with the
//                               reference constants carried over to it
//                               (reference_calibration.h): AmmeterGain *
//                               trueCurrent(rms) mA, VoltmeterGain *
//                               trueVoltage(rms) mV. Not OnTrueRms (the
//                               profiles of an earlier version): they multiply
//                               the reference r before the fixed calibration,
//                               (AmmeterGain * r) * 0.0142 mA and
//                               |(VoltmeterGain * r) * 37 - 80| / 24 mV;
//   SourceGain                  the card's output level relative to the
//                               reference card: the source's RMS voltage is
//                               GeneratorAmplitude * SourceGain * 3.5 / 22 mV.
//
// The solvers find the factor that makes an instrument read the true value a
// reference meter shows, or say why they cannot.
#include <cstdint>

namespace measure {

struct CalibrationFactors {
    double AmmeterGain = 1.0;
    double VoltmeterGain = 1.0;
    double SourceGain = 1.0;
    // The ammeter and the voltmeter read the true RMS (the program's profiles);
    // false: the factors scale the reference r.
    bool OnTrueRms = false;
};

inline constexpr double kLowestGain = 0.01;
inline constexpr double kHighestGain = 100.0;

// The significant digits that show `gain` on its own side of the range
// kLowestGain .. kHighestGain: 4, or as many more as it takes, so that a
// refused 100.0000001 never reads as 100.
int gainDigits(double gain);

enum class CalibrationRefusal {
    None,
    TrueValueNotPositive,  // the true value is 0 or less (or not a number)
    NoReading,             // the instrument's mean reading is 0
    NoAmplitude,           // the generator's amplitude is 0
    GainOutOfRange,        // the factor would lie outside kLowestGain .. kHighestGain
    Unsettled,             // the readings of the time taken still moved, or held the generator's last change
    Overload,              // the card's input reached full scale in the time taken
};

struct GainSolution {
    double gain = 1.0;  // the factor; with GainOutOfRange the one found (not to be used)
    CalibrationRefusal refusal = CalibrationRefusal::None;
};

// The ammeter: meanRms is the mean of r over the chosen time, meanReading the
// mean reading then (with the factor in force); trueMilliamps what the
// reference meter shows. gain = trueMilliamps / (meanRms * 0.0142).
GainSolution solveAmmeterGain(double meanRms, double meanReading, double trueMilliamps);

// The voltmeter, its offset included: the gain g with (g * meanRms * 37 - 80)
// / 24 = trueMillivolts, i.e. g = (24 * trueMillivolts + 80) / (37 * meanRms).
GainSolution solveVoltmeterGain(double meanRms, double meanReading, double trueMillivolts);

// A linear factor: `meanUnscaled` is the instrument's mean reading with a
// factor of 1 over the chosen time, `trueValue` what the reference meter shows
// (same unit). gain = trueValue / meanUnscaled.
GainSolution solveLinearGain(double meanUnscaled, double trueValue);

// The source: trueMillivolts is the RMS voltage at the generator output at
// this amplitude; gain = trueMillivolts / (amplitude * 3.5 / 22).
GainSolution solveSourceGain(std::int32_t amplitude, double trueMillivolts);

// The source's RMS voltage in mV with a profile: amplitude * gain * 3.5 / 22,
// in extended precision.
long double calibratedSourceMillivolts(std::int32_t amplitude, double sourceGain);

}  // namespace measure
