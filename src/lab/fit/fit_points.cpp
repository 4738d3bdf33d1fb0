#include "lab/fit/fit_points.h"

#include <algorithm>
#include <cmath>

namespace lab::fit {

std::size_t UsedPoints::distinctX() const {
    std::vector<double> sorted = x;
    std::sort(sorted.begin(), sorted.end());
    return static_cast<std::size_t>(std::unique(sorted.begin(), sorted.end()) - sorted.begin());
}

double UsedPoints::minX() const { return x.empty() ? 0.0 : *std::min_element(x.begin(), x.end()); }
double UsedPoints::maxX() const { return x.empty() ? 0.0 : *std::max_element(x.begin(), x.end()); }

UsedPoints usedPoints(const Points& points) {
    UsedPoints used;
    const std::size_t n = std::min(points.x.size(), points.y.size());
    used.x.reserve(n);
    used.y.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (i < points.flags.size() && points.flags[i] != 0) continue;
        if (!std::isfinite(points.x[i]) || !std::isfinite(points.y[i])) continue;
        used.x.push_back(points.x[i]);
        used.y.push_back(points.y[i]);
    }
    return used;
}

}  // namespace lab::fit
