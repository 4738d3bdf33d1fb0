#include "lab/lab_point.h"

#include <cmath>
#include <limits>

namespace lab {

LabPoint pointOf(double seconds, const measure::CircuitReading& reading, const measure::CircuitValues& values) {
    constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();
    LabPoint p;
    p[Quantity::Time] = seconds;
    p[Quantity::Frequency] = reading.frequencyHz > 0 ? reading.frequencyHz : kUnknown;
    p[Quantity::Current] = values.milliamps;
    p[Quantity::Voltage] = values.millivolts;
    p[Quantity::Impedance] = std::isfinite(values.ohms) ? values.ohms : kUnknown;
    p[Quantity::Phase] = reading.phaseKnown ? reading.phaseDegrees : kUnknown;
    p[Quantity::Power] = values.milliwatts;
    p[Quantity::PowerFactor] = values.powerFactor;
    return p;
}

}  // namespace lab
