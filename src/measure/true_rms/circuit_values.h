#pragma once
// A CircuitReading (sample units) in the circuit's units, given one linear
// factor per channel, the calibration of the line input.
#include "measure/circuit_reading.h"
#include "measure/measurement_state.h"

namespace measure {

struct CircuitValues {
    double milliamps = 0;    // I, RMS
    double millivolts = 0;   // U, RMS
    double ohms = 0;         // |Z| = U / I; +infinity when I is 0 and U is not, 0 when both are
    double milliwatts = 0;   // P = mean(u i): mA * mV is uW, so / 1000
    double powerFactor = 0;  // cos(phi) = P / (U I); 0 when U I is 0
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
