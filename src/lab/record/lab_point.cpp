#include "lab/record/lab_point.h"

#include <limits>

namespace lab {

LabPoint pointOf(double seconds, const measure::CircuitValues& values) {
    constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();
    LabPoint p;
    p[Quantity::Time] = seconds;
    p[Quantity::Frequency] = values.frequencyHz.value_or(kUnknown);
    p[Quantity::Current] = values.milliamps;
    p[Quantity::Voltage] = values.millivolts;
    p[Quantity::Impedance] = values.ohms.value_or(kUnknown);
    p[Quantity::Phase] = values.phaseDegrees.value_or(kUnknown);
    p[Quantity::Power] = values.milliwatts;
    p[Quantity::PowerFactor] = values.powerFactor.value_or(kUnknown);
    return p;
}

}  // namespace lab
