#pragma once
// One point of the lab's record: every quantity at one moment, in the units
// of quantity.h. A value that is not known (no signal: no frequency, phase,
// |Z| or power factor; an open circuit: no |Z|) is NaN. |Z|, the phase, the
// power and the power factor are the load's own (circuit_values.h).
//
// A point also says how far it can be trusted: whether the card's input
// clipped in the readings it was taken from, and whether those readings had
// settled. A flagged point is drawn apart and never enters a fit.
#include "lab/quantity.h"
#include "measure/true_rms/circuit_values.h"

#include <array>

namespace lab {

struct LabPoint {
    std::array<double, kQuantityCount> values{};
    bool overload = false;  // a channel of the card reached full scale
    bool settled = true;    // the readings had settled (false also when they clipped)

    bool flagged() const { return overload || !settled; }

    double operator[](Quantity q) const { return values[indexOf(q)]; }
    double& operator[](Quantity q) { return values[indexOf(q)]; }
};

// The line input's reading at `seconds` from the start of the record.
LabPoint pointOf(double seconds, const measure::CircuitValues& values);

}  // namespace lab
