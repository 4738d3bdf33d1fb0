#pragma once
// A fit and a marked peak as --state gives them (`lab.Fit`, `lab.Peak`):
// {"Model": "resonance", "F0": 503.3, "F0Uncertainty": 0.28, "Q": ..., "R2": ...,
// "RMS": ..., "Points": 30}, {"X": 503.3, "Y": 10.0}. Values in the units of fit.h.
#include "lab/fit/peak.h"

#include <QJsonObject>

namespace lab::fit {

QJsonObject fitState(const Fit& fit);
QJsonObject extremeState(const Extreme& extreme);

}  // namespace lab::fit
