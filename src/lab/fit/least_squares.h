#pragma once
// Nonlinear least squares of a curve through points (on 1/y for a
// reciprocal curve; every y is then positive): GSL's trust-region solver
// (Levenberg–Marquardt steps) from the given start, with the curve's own
// derivatives. The only place that sees GSL.
#include "lab/fit/curves.h"

#include <string>
#include <vector>

namespace lab::fit {

struct LeastSquares {
    Theta theta{};
    // (JᵀJ)⁻¹ at the solution, count × count, row by row; times the residual
    // variance it is the covariance of θ.
    std::vector<double> inverse;
    double residualSquares = 0;  // on 1/y for a reciprocal curve
    std::size_t iterations = 0;
};

struct LeastSquaresOutcome {
    std::optional<LeastSquares> solution;
    std::string problem;  // why there is none (English, the library's words)
};

LeastSquaresOutcome leastSquares(const Curve& curve, const UsedPoints& points, const Theta& start);

}  // namespace lab::fit
