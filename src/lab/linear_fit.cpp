#include "lab/linear_fit.h"

#include <algorithm>
#include <cmath>

namespace lab {

std::optional<LinearFit> fitLine(const std::vector<double>& x, const std::vector<double>& y) {
    const std::size_t n = std::min(x.size(), y.size());
    auto usable = [&](std::size_t i) { return std::isfinite(x[i]) && std::isfinite(y[i]); };
    // Two passes: the means first, then the sums about them, which keeps the
    // sums exact enough for data far from zero (times of an hour, 1 kHz).
    double sx = 0, sy = 0;
    std::size_t count = 0;
    for (std::size_t i = 0; i < n; ++i)
        if (usable(i)) {
            sx += x[i];
            sy += y[i];
            ++count;
        }
    if (count < 2) return std::nullopt;
    const double mx = sx / static_cast<double>(count);
    const double my = sy / static_cast<double>(count);
    double sxx = 0, sxy = 0, syy = 0;
    for (std::size_t i = 0; i < n; ++i)
        if (usable(i)) {
            const double dx = x[i] - mx;
            const double dy = y[i] - my;
            sxx += dx * dx;
            sxy += dx * dy;
            syy += dy * dy;
        }
    if (!(sxx > 0)) return std::nullopt;
    LinearFit fit;
    fit.points = count;
    fit.slope = sxy / sxx;
    fit.intercept = my - fit.slope * mx;
    // The residual sum of squares is syy - slope * sxy.
    const double residual = std::max(0.0, syy - fit.slope * sxy);
    fit.r2 = syy > 0 ? 1.0 - residual / syy : 1.0;
    return fit;
}

}  // namespace lab
