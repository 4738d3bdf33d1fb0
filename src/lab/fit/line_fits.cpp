#include "lab/fit/line_fits.h"

#include <cmath>

namespace lab::fit {

std::vector<Parameter> lineParameters(const UsedPoints& points) {
    const std::size_t n = points.size();
    double meanX = 0, meanY = 0;
    for (std::size_t i = 0; i < n; ++i) {
        meanX += points.x[i];
        meanY += points.y[i];
    }
    meanX /= static_cast<double>(n);
    meanY /= static_cast<double>(n);
    double sxx = 0, sxy = 0;
    for (std::size_t i = 0; i < n; ++i) {
        sxx += (points.x[i] - meanX) * (points.x[i] - meanX);
        sxy += (points.x[i] - meanX) * (points.y[i] - meanY);
    }
    const double slope = sxy / sxx;
    const double intercept = meanY - slope * meanX;
    double residual = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double r = points.y[i] - (slope * points.x[i] + intercept);
        residual += r * r;
    }
    const double variance = residual / static_cast<double>(n - 2);
    return {{QStringLiteral("Slope"), slope, std::sqrt(variance / sxx)},
            {QStringLiteral("Intercept"), intercept,
             std::sqrt(variance * (1 / static_cast<double>(n) + meanX * meanX / sxx))}};
}

std::vector<Parameter> proportionalParameters(const UsedPoints& points) {
    const std::size_t n = points.size();
    double sxx = 0, sxy = 0;
    for (std::size_t i = 0; i < n; ++i) {
        sxx += points.x[i] * points.x[i];
        sxy += points.x[i] * points.y[i];
    }
    const double slope = sxy / sxx;
    double residual = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double r = points.y[i] - slope * points.x[i];
        residual += r * r;
    }
    const double variance = residual / static_cast<double>(n - 1);
    return {{QStringLiteral("Slope"), slope, std::sqrt(variance / sxx)}};
}

}  // namespace lab::fit
