#include "measure/circuit_values.h"

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

}  // namespace measure
