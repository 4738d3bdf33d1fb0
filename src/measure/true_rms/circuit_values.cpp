#include "measure/true_rms/circuit_values.h"

#include "measure/reference/reference_calibration.h"

#include <limits>

namespace measure {

CircuitValues circuitValues(const CircuitReading& reading, double milliampsPerSample, double millivoltsPerSample) {
    CircuitValues v;
    v.milliamps = reading.current.rms * milliampsPerSample;
    v.millivolts = reading.voltage.rms * millivoltsPerSample;
    if (v.milliamps > 0)
        v.ohms = v.millivolts / v.milliamps;
    else if (v.millivolts > 0)
        v.ohms = std::numeric_limits<double>::infinity();
    v.milliwatts = reading.meanProduct * milliampsPerSample * millivoltsPerSample / 1000.0;
    v.powerFactor = reading.powerFactor;
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
