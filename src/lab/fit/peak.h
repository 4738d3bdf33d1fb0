#pragma once
// The maximum and the minimum the graph marks: of the fitted curve over the
// points' range when a fit is shown (the resonance's maximum at f₀, the
// impedance's minimum there), else of the points that count.
#include "lab/fit/fit.h"

namespace lab::fit {

struct Extreme {
    double x = 0;
    double y = 0;
};

struct Peaks {
    Extreme maximum;
    Extreme minimum;
};

Peaks peaksOf(const Fit& fit);
// Nothing when no point counts. The first point of equal ones wins.
std::optional<Peaks> peaksOf(const Points& points);

}  // namespace lab::fit
