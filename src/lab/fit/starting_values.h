#pragma once
// Where the nonlinear fits start, read off the points as a teacher reads a
// graph: the peak (or the trough) and its width at the half-power points,
// the zero crossing of the phase. Each gives θ for its curve (curves.h), or
// nothing when the points show no shape to start from. Every x must be
// positive (frequencies).
#include "lab/fit/curves.h"

namespace lab::fit {

// The points in the order of x, each y the median of itself and its two
// neighbours: a lone glitch that no flag caught no longer looks like the
// peak. The fits start from both the points and these, and keep the better.
UsedPoints medianOfThree(const UsedPoints& points);

// ln f₀, ln Q, ln I₀: f₀ at the maximum (between the points around it), Q
// from the points where the current falls to 1/√2 of it.
std::optional<Theta> resonanceStart(const UsedPoints& points);
// ln R, ln L, ln C: R and f₀ at the minimum, L from the reactance of every
// point, C from f₀ and L.
std::optional<Theta> impedanceStart(const UsedPoints& points);
// ln f₀, ln Q: f₀ where the phase crosses zero, Q from tan φ = Q(f/f₀ − f₀/f).
std::optional<Theta> phaseStart(const UsedPoints& points);

}  // namespace lab::fit
