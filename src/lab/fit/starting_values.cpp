#include "lab/fit/starting_values.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace lab::fit {
namespace {

// The points in the order of x, with x as ln x (the curves are read on a
// logarithmic frequency axis).
using Sorted = std::vector<std::pair<double, double>>;

Sorted sortedByLogX(const UsedPoints& points) {
    Sorted sorted;
    sorted.reserve(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) sorted.emplace_back(std::log(points.x[i]), points.y[i]);
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

// Where the parabola through the point i and its neighbours has its vertex
// (the peak between two grid points); the point's own x at either end.
double vertexAround(const Sorted& s, std::size_t i) {
    if (i == 0 || i + 1 >= s.size()) return s[i].first;
    const auto [a, ya] = s[i - 1];
    const auto [b, yb] = s[i];
    const auto [c, yc] = s[i + 1];
    const double p = (b - a) * (yb - yc);
    const double q = (b - c) * (yb - ya);
    const double denominator = p - q;
    if (!(std::abs(denominator) > 0)) return b;
    const double vertex = b - 0.5 * ((b - a) * p - (b - c) * q) / denominator;
    return std::isfinite(vertex) ? std::clamp(vertex, a, c) : b;
}

// ln x where the points, walked from `from` by `step`, first fall below
// `level` (between that point and the one before); nothing when they never do.
std::optional<double> fallBelow(const Sorted& s, std::size_t from, int step, double level) {
    std::size_t i = from;
    while (step < 0 ? i > 0 : i + 1 < s.size()) {
        const auto [t1, y1] = s[i];  // at or above the level
        i = step < 0 ? i - 1 : i + 1;
        const auto [t2, y2] = s[i];
        if (y2 < level) return t1 + (level - y1) * (t2 - t1) / (y2 - y1);
    }
    return std::nullopt;
}

std::size_t indexOfMax(const Sorted& s) {
    return static_cast<std::size_t>(
        std::max_element(s.begin(), s.end(), [](const auto& a, const auto& b) { return a.second < b.second; }) -
        s.begin());
}

std::size_t indexOfMin(const Sorted& s) {
    return static_cast<std::size_t>(
        std::min_element(s.begin(), s.end(), [](const auto& a, const auto& b) { return a.second < b.second; }) -
        s.begin());
}

// The detuning f/f₀ − f₀/f at ln f = t.
double detuning(double t, double logF0) { return 2 * std::sinh(t - logF0); }

bool allFinite(const Theta& theta) {
    return std::all_of(theta.begin(), theta.end(), [](double v) { return std::isfinite(v); });
}

}  // namespace

UsedPoints medianOfThree(const UsedPoints& points) {
    std::vector<std::pair<double, double>> sorted;
    sorted.reserve(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) sorted.emplace_back(points.x[i], points.y[i]);
    std::sort(sorted.begin(), sorted.end());
    UsedPoints smooth;
    smooth.x.reserve(sorted.size());
    smooth.y.reserve(sorted.size());
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        double y = sorted[i].second;
        if (i > 0 && i + 1 < sorted.size()) {
            const double a = sorted[i - 1].second, c = sorted[i + 1].second;
            y = std::max(std::min(a, c), std::min(std::max(a, c), y));
        }
        smooth.x.push_back(sorted[i].first);
        smooth.y.push_back(y);
    }
    return smooth;
}

std::optional<Theta> resonanceStart(const UsedPoints& points) {
    if (points.size() == 0) return std::nullopt;
    const Sorted s = sortedByLogX(points);
    const std::size_t top = indexOfMax(s);
    const double peak = s[top].second;
    if (!(peak > 0)) return std::nullopt;
    const double logF0 = vertexAround(s, top);

    const double halfPower = peak / std::numbers::sqrt2;
    const auto below = fallBelow(s, top, -1, halfPower);
    const auto above = fallBelow(s, top, +1, halfPower);
    double q = 0;
    if (below && above) {
        q = std::exp(logF0) / (std::exp(*above) - std::exp(*below));
    } else if (below || above) {
        q = 1 / std::abs(detuning(below ? *below : *above, logF0));  // Q·|u| = 1 at a half-power point
    } else {
        // No point falls to half power: Q·|u| = √((I₀/I)² − 1) at each point.
        double sum = 0, squares = 0;
        for (const auto& [t, y] : s) {
            const double u = std::abs(detuning(t, logF0));
            if (!(y > 0 && y < peak && u > 0)) continue;
            sum += u * std::sqrt((peak / y) * (peak / y) - 1);
            squares += u * u;
        }
        q = squares > 0 ? sum / squares : 1.0;
    }
    if (!(q > 0) || !std::isfinite(q)) q = 1.0;
    const Theta theta{logF0, std::log(q), std::log(peak)};
    return allFinite(theta) ? std::optional(theta) : std::nullopt;
}

std::optional<Theta> impedanceStart(const UsedPoints& points) {
    if (points.size() == 0) return std::nullopt;
    const Sorted s = sortedByLogX(points);
    const std::size_t bottom = indexOfMin(s);
    const double r = s[bottom].second;
    if (!(r > 0)) return std::nullopt;
    const double omega0 = 2 * std::numbers::pi * std::exp(vertexAround(s, bottom));

    // |X| = √(|Z|² − R²) = L·|ω − ω₀²/ω|: L by least squares through the origin.
    double sum = 0, squares = 0;
    for (const auto& [t, z] : s) {
        const double omega = 2 * std::numbers::pi * std::exp(t);
        const double w = std::abs(omega - omega0 * omega0 / omega);
        if (!(z > r)) continue;
        sum += w * std::sqrt(z * z - r * r);
        squares += w * w;
    }
    if (!(sum > 0 && squares > 0)) return std::nullopt;
    const double l = sum / squares;
    const Theta theta{std::log(r), std::log(l), -std::log(omega0 * omega0 * l)};
    return allFinite(theta) ? std::optional(theta) : std::nullopt;
}

std::optional<Theta> phaseStart(const UsedPoints& points) {
    if (points.size() == 0) return std::nullopt;
    const Sorted s = sortedByLogX(points);
    // The first rise through zero; without one, the point nearest to zero.
    double logF0 = s[0].first;
    bool crossed = false;
    for (std::size_t i = 1; i < s.size() && !crossed; ++i) {
        const auto [t1, y1] = s[i - 1];
        const auto [t2, y2] = s[i];
        if (y1 <= 0 && y2 > 0) {
            logF0 = t1 + (0 - y1) * (t2 - t1) / (y2 - y1);
            crossed = true;
        }
    }
    if (!crossed) {
        logF0 = std::min_element(s.begin(), s.end(), [](const auto& a, const auto& b) {
                    return std::abs(a.second) < std::abs(b.second);
                })->first;
    }
    // tan φ = Q·u: Q by least squares through the origin, away from ±90°.
    double sum = 0, squares = 0;
    for (const auto& [t, phi] : s) {
        if (!(std::abs(phi) < 85)) continue;
        const double u = detuning(t, logF0);
        sum += u * std::tan(phi * std::numbers::pi / 180);
        squares += u * u;
    }
    double q = squares > 0 ? sum / squares : 1.0;
    if (!(q > 0) || !std::isfinite(q)) q = 1.0;
    const Theta theta{logF0, std::log(q), 0};
    return allFinite(theta) ? std::optional(theta) : std::nullopt;
}

}  // namespace lab::fit
