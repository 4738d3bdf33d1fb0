#pragma once
// A fit of one of the lab's curves (fit_model.h) to a graph's points: its
// parameters by the names scripts use, each with its standard uncertainty,
// how well it fits (R², the residuals' RMS), and the curve for drawing.
// The lines are fitted in closed form; the circuit's curves by nonlinear
// least squares from starting values read off the points, their parameters
// kept positive (|Z| through its admittance 1/|Z|, which scatters evenly
// with the card's noise on the current). The uncertainties assume the
// points scatter alike; R² and the RMS are of y itself. A fit that cannot
// be made has no numbers but a reason.
//
// Units are those of the points (the lab's quantities: Hz, mA, Ω, °), and
// SI for what they do not give: L in H, C in F.
#include "lab/fit/fit_model.h"
#include "lab/fit/fit_points.h"

#include <QString>
#include <optional>
#include <vector>

namespace lab::fit {

struct Parameter {
    QString name;  // "Slope", "Intercept"; "F0", "Q", "I0", "Bandwidth"; "R", "L", "C", "F0"
    double value = 0;
    double uncertainty = 0;  // standard (1σ), from the residuals' scatter
};

struct Fit {
    Model model = Model::Line;
    // The fitted parameters, then the derived ones (the resonance's
    // Bandwidth = F0/Q, the impedance's F0 = 1/(2π√(LC))).
    std::vector<Parameter> parameters;
    double r2 = 0;   // 1 − residual / total sum of squares (about the mean of y)
    double rms = 0;  // √(mean of the squared residuals), in y's unit
    std::size_t points = 0;
    double xMin = 0, xMax = 0;  // of the points fitted

    // The curve at x (for drawing; outside the points' range as well).
    double at(double x) const;
    // By name; nothing for a name the model has not.
    const Parameter* parameter(const QString& name) const;
};

struct FitResult {
    std::optional<Fit> fit;
    QString failure;  // Czech, for the teacher, when there is no fit

    explicit operator bool() const { return fit.has_value(); }
};

FitResult fitPoints(Model model, const Points& points);

// The curve at `count` x from `from` to `to` (2 or more), spaced evenly or,
// for a logarithmic axis, by equal ratios (then from and to are positive).
struct CurveSamples {
    std::vector<double> x, y;
};
CurveSamples curveSamples(const Fit& fit, double from, double to, int count, bool logarithmic);

}  // namespace lab::fit
