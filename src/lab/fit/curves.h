#pragma once
// The curves fitted by nonlinear least squares. Each is written over the
// natural logarithms θ of its parameters, which keeps every parameter
// positive (f₀, Q, I₀, R, L, C) and gives steps of equal ratio. A derived
// parameter is a product of powers of the fitted ones, so its logarithm is
// linear in θ and its uncertainty follows from the covariance exactly.
#include "lab/fit/fit_model.h"
#include "lab/fit/fit_points.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>

namespace lab::fit {

inline constexpr std::size_t kMaxCurveParameters = 3;
using Theta = std::array<double, kMaxCurveParameters>;

// The curve's value at x for θ (of 1/y for a reciprocal curve), and when
// `gradient` is not null its derivatives by each θ.
using CurveValue = double (*)(double x, const double* theta, double* gradient);

struct DerivedParameter {
    const char* name;
    Theta weights;  // ln value = offset + Σ weights[i]·θ[i]
    double offset;
};

struct Curve {
    Model model;
    std::size_t count;                                  // fitted parameters
    std::array<const char*, kMaxCurveParameters> names;  // as --state names them
    CurveValue value;
    // The curve is fitted as 1/y, and `value` gives 1/y: |Z| is U over a
    // measured current whose noise is the card's, the same at every point,
    // so 1/|Z| scatters evenly where |Z| itself scatters most at its largest.
    bool reciprocal;
    // θ to start from, guessed from the points (nothing when they show no shape to start from).
    std::optional<Theta> (*start)(const UsedPoints& points);
    std::span<const DerivedParameter> derived;
    // The parameter that must lie within the measured x ("F0": the peak, the
    // trough or the zero crossing), and whether the curve has its extremum there.
    const char* centre;
    bool extremumAtCentre;
};

// Nothing for the lines, which are fitted in closed form.
const Curve* curveOf(Model model);

}  // namespace lab::fit
