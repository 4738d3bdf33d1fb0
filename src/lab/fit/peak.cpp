#include "lab/fit/peak.h"

#include "lab/fit/curves.h"

namespace lab::fit {

Peaks peaksOf(const Fit& fit) {
    // The lines and the phase are monotonic: their extremes are at the ends.
    // The resonance and the impedance have theirs inside, at f₀, when it is in range.
    std::vector<double> candidates{fit.xMin, fit.xMax};
    const Curve* curve = curveOf(fit.model);
    if (curve && curve->extremumAtCentre) {
        const Parameter* centre = fit.parameter(QString::fromLatin1(curve->centre));
        if (centre && centre->value > fit.xMin && centre->value < fit.xMax) candidates.push_back(centre->value);
    }
    Peaks peaks{{candidates[0], fit.at(candidates[0])}, {candidates[0], fit.at(candidates[0])}};
    for (double x : candidates) {
        const double y = fit.at(x);
        if (y > peaks.maximum.y) peaks.maximum = {x, y};
        if (y < peaks.minimum.y) peaks.minimum = {x, y};
    }
    return peaks;
}

std::optional<Peaks> peaksOf(const Points& points) {
    const UsedPoints used = usedPoints(points);
    if (used.size() == 0) return std::nullopt;
    Peaks peaks{{used.x[0], used.y[0]}, {used.x[0], used.y[0]}};
    for (std::size_t i = 1; i < used.size(); ++i) {
        if (used.y[i] > peaks.maximum.y) peaks.maximum = {used.x[i], used.y[i]};
        if (used.y[i] < peaks.minimum.y) peaks.minimum = {used.x[i], used.y[i]};
    }
    return peaks;
}

}  // namespace lab::fit
