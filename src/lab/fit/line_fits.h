#pragma once
// The lines in closed form, with the standard uncertainties of least squares
// (the residual variance over n − 2 for the line, n − 1 through the origin).
// The points are the ones that count, at least parameters + 1 of them with
// two different x.
#include "lab/fit/fit.h"

namespace lab::fit {

// Slope, Intercept.
std::vector<Parameter> lineParameters(const UsedPoints& points);
// Slope (Ohm's law: U = R·I).
std::vector<Parameter> proportionalParameters(const UsedPoints& points);

}  // namespace lab::fit
