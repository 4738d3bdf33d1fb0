#pragma once
// A CircuitReading (sample units) in the circuit's units, given one linear
// factor per channel, the calibration of the line input: the current and the
// voltage as the instruments measure them, and the load's own impedance,
// phase and power.
//
// The unit's divider (100 kilohm + 1 kilohm) lies across the load, and its
// current, u / 101 kilohm in phase with the voltage, flows through the shunt
// with the load's: the shunt carries i = i_load + u / 101 kilohm. The load's
// quantities take it out: from the instantaneous values for its current's RMS
// and its power (so for any waveform),
//   I_load^2 = I^2 - 2 P / R_d + U^2 / R_d^2,   P_load = P - U^2 / R_d,
// and from the fundamentals' phasors for its phase,
//   I_load = I - U / R_d,   phi_load = arg U - arg I_load.
// A load that draws nearly nothing (an open circuit) so has no |Z| and no
// phase rather than the divider's 101 kilohm.
//
// With no signal (TrueRmsMeter: below what the card resolves, or no period)
// the frequency, |Z|, the phase and the power factor are absent.
#include "measure/circuit_reading.h"
#include "measure/measurement_state.h"

#include <optional>

namespace measure {

// The divider across the load: 100 kilohm over 1 kilohm.
inline constexpr double kDividerOhms = 100'000.0 + 1'000.0;

struct CircuitValues {
    double milliamps = 0;   // I, RMS, through the shunt: what the ammeter measures
    double millivolts = 0;  // U, RMS, across the load
    std::optional<double> frequencyHz;

    // The load's own, the divider's current taken out.
    double loadMilliamps = 0;            // its current's RMS
    std::optional<double> ohms;          // |Z| = U / I_load
    std::optional<double> phaseDegrees;  // of U against I_load, fundamentals, on the meter's branch
    double milliwatts = 0;               // P = mean(u i_load): mA * mV is uW, so / 1000
    std::optional<double> powerFactor;   // lambda = P / (U I_load), in [-1, 1]
};

// milliampsPerSample, millivoltsPerSample: > 0.
CircuitValues circuitValues(const CircuitReading& reading, double milliampsPerSample, double millivoltsPerSample);

// The line input's circuit now: with the card's profile (factors on the true
// RMS) its factors on the reference constants, else the reference constants
// carried over to the true RMS (reference_calibration.h).
CircuitValues circuitValues(const MeasurementState& state);
// What one sample unit of each channel is in the circuit, in force now (the
// factors circuitValues(state) applies): mA on the left, mV on the right.
struct SampleScale {
    double milliamps = 0;
    double millivolts = 0;
};
SampleScale sampleScale(const MeasurementState& state);
bool usesProfile(const MeasurementState& state);

}  // namespace measure
