#pragma once
// One point of the lab's record: every quantity at one moment, in the units
// of quantity.h. A value that is not known (no phase, |Z| without a current,
// no frequency) is NaN.
#include "lab/quantity.h"
#include "measure/circuit_reading.h"
#include "measure/true_rms/circuit_values.h"

#include <array>

namespace lab {

struct LabPoint {
    std::array<double, kQuantityCount> values{};

    double operator[](Quantity q) const { return values[indexOf(q)]; }
    double& operator[](Quantity q) { return values[indexOf(q)]; }
};

// The line input's reading at `seconds` from the start of the record.
LabPoint pointOf(double seconds, const measure::CircuitReading& reading, const measure::CircuitValues& values);

}  // namespace lab
