#include "lab/linear_fit.h"

#include <algorithm>
#include <cmath>

namespace lab {

void LineFitter::add(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    ++count_;
    const double n = static_cast<double>(count_);
    const double dx = x - meanX_;
    const double dy = y - meanY_;
    meanX_ += dx / n;
    meanY_ += dy / n;
    // The deviation before the mean moved times the one after it.
    sxx_ += dx * (x - meanX_);
    sxy_ += dx * (y - meanY_);
    syy_ += dy * (y - meanY_);
}

std::optional<LinearFit> LineFitter::fit() const {
    if (count_ < 2 || !(sxx_ > 0)) return std::nullopt;
    LinearFit fit;
    fit.points = count_;
    fit.slope = sxy_ / sxx_;
    fit.intercept = meanY_ - fit.slope * meanX_;
    // The residual sum of squares is syy - slope * sxy.
    const double residual = std::max(0.0, syy_ - fit.slope * sxy_);
    fit.r2 = syy_ > 0 ? 1.0 - residual / syy_ : 1.0;
    return fit;
}

std::optional<LinearFit> fitLine(const std::vector<double>& x, const std::vector<double>& y) {
    LineFitter fitter;
    const std::size_t n = std::min(x.size(), y.size());
    for (std::size_t i = 0; i < n; ++i) fitter.add(x[i], y[i]);
    return fitter.fit();
}

}  // namespace lab
