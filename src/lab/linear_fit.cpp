#include "lab/linear_fit.h"

#include <algorithm>
#include <cmath>

namespace lab {

void LineFitter::add(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    minX_ = count_ == 0 ? x : std::min(minX_, x);
    maxX_ = count_ == 0 ? x : std::max(maxX_, x);
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

QString LineFitter::problem() const {
    if (count_ < 2)
        return QStringLiteral("Nelze proložit: jsou potřeba aspoň dva body (použitelné: %1).").arg(count_);
    const double largest = std::max(std::fabs(minX_), std::fabs(maxX_));
    if (!(maxX_ - minX_ > 0.01 * largest) || !(sxx_ > 0))
        return QStringLiteral("Nelze proložit: všechny body mají na vodorovné ose skoro stejnou hodnotu. "
                              "Zapište body při různém nastavení.");
    return {};
}

std::optional<LinearFit> fitLine(const std::vector<double>& x, const std::vector<double>& y) {
    LineFitter fitter;
    const std::size_t n = std::min(x.size(), y.size());
    for (std::size_t i = 0; i < n; ++i) fitter.add(x[i], y[i]);
    return fitter.fit();
}

}  // namespace lab
