#include "lab/fit/curves.h"

#include "lab/fit/starting_values.h"

#include <cmath>
#include <numbers>

namespace lab::fit {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kDegrees = 180 / std::numbers::pi;

// θ = (ln f₀, ln Q, ln I₀). With u = f/f₀ − f₀/f, v = f/f₀ + f₀/f and
// D = 1 + Q²u²: I = I₀/√D, ∂I/∂ln f₀ = I·Q²uv/D, ∂I/∂ln Q = −I·Q²u²/D, ∂I/∂ln I₀ = I.
double resonance(double f, const double* theta, double* gradient) {
    const double f0 = std::exp(theta[0]);
    const double q2 = std::exp(2 * theta[1]);
    const double u = f / f0 - f0 / f;
    const double d = 1 + q2 * u * u;
    const double current = std::exp(theta[2]) / std::sqrt(d);
    if (gradient) {
        const double v = f / f0 + f0 / f;
        gradient[0] = current * q2 * u * v / d;
        gradient[1] = -current * q2 * u * u / d;
        gradient[2] = current;
    }
    return current;
}

// θ = (ln R, ln L, ln C), fitted as the admittance 1/|Z|. With ω = 2πf and
// X = ωL − 1/(ωC): |Z| = √(R² + X²), and with Y = 1/|Z|:
// ∂Y/∂ln R = −Y·R²/|Z|², ∂Y/∂ln L = −Y·X·ωL/|Z|², ∂Y/∂ln C = −Y·X/(ωC·|Z|²).
double admittance(double f, const double* theta, double* gradient) {
    const double omega = kTwoPi * f;
    const double r = std::exp(theta[0]);
    const double inductive = omega * std::exp(theta[1]);
    const double capacitive = 1 / (omega * std::exp(theta[2]));
    const double x = inductive - capacitive;
    const double z2 = r * r + x * x;
    const double y = 1 / std::sqrt(z2);
    if (gradient) {
        const double scale = -y / z2;
        gradient[0] = scale * r * r;
        gradient[1] = scale * x * inductive;
        gradient[2] = scale * x * capacitive;
    }
    return y;
}

// θ = (ln f₀, ln Q). With u, v as above and t = Qu: φ = atan t (in degrees),
// ∂φ/∂ln f₀ = −Qv/(1 + t²), ∂φ/∂ln Q = t/(1 + t²).
double phase(double f, const double* theta, double* gradient) {
    const double f0 = std::exp(theta[0]);
    const double q = std::exp(theta[1]);
    const double u = f / f0 - f0 / f;
    const double t = q * u;
    if (gradient) {
        const double v = f / f0 + f0 / f;
        const double slope = kDegrees / (1 + t * t);
        gradient[0] = -q * v * slope;
        gradient[1] = t * slope;
    }
    return kDegrees * std::atan(t);
}

// B = f₀/Q; the impedance's f₀ = 1/(2π√(LC)).
constexpr DerivedParameter kBandwidth[] = {{"Bandwidth", {1, -1, 0}, 0}};
const DerivedParameter kImpedanceCentre[] = {{"F0", {0, -0.5, -0.5}, -std::log(kTwoPi)}};

const Curve kCurves[] = {
    {Model::Resonance, 3, {"F0", "Q", "I0"}, resonance, false, resonanceStart, kBandwidth, "F0", true},
    {Model::Impedance, 3, {"R", "L", "C"}, admittance, true, impedanceStart, kImpedanceCentre, "F0", true},
    {Model::Phase, 2, {"F0", "Q", nullptr}, phase, false, phaseStart, {}, "F0", false},
};

}  // namespace

const Curve* curveOf(Model model) {
    for (const Curve& curve : kCurves)
        if (curve.model == model) return &curve;
    return nullptr;
}

}  // namespace lab::fit
