#include "measure/true_rms/circuit_values.h"

#include "measure/reference/reference_calibration.h"
#include "measure/true_rms/true_rms_meter.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace measure {

CircuitValues circuitValues(const CircuitReading& reading, double milliampsPerSample, double millivoltsPerSample) {
    const double a = milliampsPerSample;
    const double b = millivoltsPerSample;
    const double g = b / kDividerOhms;  // the divider's mA per sample of the voltage channel
    const double xx = reading.current.rms * reading.current.rms;
    const double yy = reading.voltage.rms * reading.voltage.rms;
    const double xy = reading.meanProduct;

    CircuitValues v;
    v.milliamps = reading.current.rms * a;
    v.millivolts = reading.voltage.rms * b;
    // i_load = a x - g y and u = b y, means removed.
    v.loadMilliamps = std::sqrt(std::max(0.0, a * a * xx - 2 * a * g * xy + g * g * yy));
    v.milliwatts = (a * b * xy - b * g * yy) / 1000.0;
    if (reading.frequencyHz > 0) v.frequencyHz = reading.frequencyHz;
    if (!reading.phaseKnown) return v;

    // The fundamentals as phasors, the measured current's at angle 0.
    using Complex = std::complex<double>;
    const double phase = reading.phaseDegrees * std::numbers::pi / 180.0;
    const Complex voltage = std::polar(reading.voltage.fundamental, phase);      // sample units
    const Complex load = reading.current.fundamental - (g / a) * voltage;         // current channel's units
    // A load current the card cannot resolve: an open circuit.
    if (std::abs(load) < TrueRmsMeter::kMinimumRms) return v;
    // arg(load) is the load current's turn from the measured one, well inside a
    // quarter turn while the divider's share is below the whole: the phase keeps
    // the meter's branch.
    v.phaseDegrees = reading.phaseDegrees - std::arg(load) * 180.0 / std::numbers::pi;
    v.ohms = v.millivolts / v.loadMilliamps;
    v.powerFactor = std::clamp(v.milliwatts * 1000.0 / (v.millivolts * v.loadMilliamps), -1.0, 1.0);
    return v;
}

bool usesProfile(const MeasurementState& state) { return state.Calibration && state.Calibration->OnTrueRms; }

SampleScale sampleScale(const MeasurementState& state) {
    const bool profile = usesProfile(state);
    const double ammeter = profile ? state.Calibration->AmmeterGain : 1.0;
    const double voltmeter = profile ? state.Calibration->VoltmeterGain : 1.0;
    return {static_cast<double>(trueCurrent(1.0L)) * ammeter, static_cast<double>(trueVoltage(1.0L)) * voltmeter};
}

CircuitValues circuitValues(const MeasurementState& state) {
    const SampleScale scale = sampleScale(state);
    return circuitValues(state.LineInput, scale.milliamps, scale.millivolts);
}

}  // namespace measure
